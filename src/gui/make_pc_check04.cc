#include "gui/make_pc_check04.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/radio_group.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakePcCheck04::TMakePcCheck04(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TMakePcCheck04"));
  QLabel* heading = MakePanel(this, "Panel1", {text::kExport04Line1, text::kExport04Line2}, false);
  QStringList colours;
  for (const char* colour : text::kExportColours) colours << Utf8(colour);
  radio_group1_ = new RadioGroup(QString(), colours, 3, this);
  radio_group1_->setObjectName(QStringLiteral("RadioGroup1"));
  radio_group1_->SetItemIndex(0);
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(10);
  layout->addWidget(heading);
  layout->addWidget(radio_group1_);
  layout->addStretch(1);
  layout->addLayout(MakeButtonRow(nullptr, back_, next_));
  setFocusProxy(radio_group1_);
  InstallReturnKey(this, next_, back_);
}

}  // namespace dw::ui
