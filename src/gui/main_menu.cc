#include "gui/main_menu.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/build_info.h"
#include "gui/desktop_platform.h"
#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMainMenu::TMainMenu(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TMainMenu"));
  QLabel* heading = MakePanel(this, "Panel1", {text::kProgramHeading}, true);
  QLabel* intro = MakePanel(this, "Panel2", {text::kMenuIntro1, text::kMenuIntro2}, false);
  QFont fixed = FontOf(FixedFontFamilies());
  fixed.setPixelSize(text::kUiFontPixels);
  fixed.setStyleHint(QFont::Monospace);
  intro->setFont(fixed);
  QLabel* choose = MakeLabel(this, "Label1", {text::kMenuChoose}, true);
  button1_ = MakeButton(this, "Button1", text::kMenuCatalog);
  button2_ = MakeButton(this, "Button2", text::kMenuImport);
  button4_ = MakeButton(this, "Button4", text::kMenuExport);
  button3_ = MakeButton(this, "Button3", text::kMenuQuit);
  QLabel* build = MakeLabel(this, "Label2", {dw::kBuildLabel}, false, Qt::AlignRight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 6);
  layout->setSpacing(8);
  layout->addWidget(heading);
  layout->addWidget(intro);
  layout->addWidget(choose);
  auto* buttons = new QVBoxLayout;
  buttons->setContentsMargins(40, 0, 40, 0);
  buttons->setSpacing(6);
  for (QPushButton* button : {button1_, button2_, button4_, button3_}) {
    button->setMinimumHeight(30);
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  layout->addStretch(1);
  layout->addWidget(build);
  setFocusProxy(button1_);
  InstallReturnKey(this, nullptr);
}

}  // namespace dw::ui
