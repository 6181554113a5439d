#include "gui/make_data01.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakeData01::TMakeData01(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TMakeData01"));
  QLabel* heading = MakePanel(this, "Panel1", {text::kProgramHeading}, true);
  QLabel* body = MakePanel(this, "Panel2", {text::kData01Line1, text::kData01Line2, "", text::kData01Line3}, false);
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(10);
  layout->addWidget(heading);
  layout->addWidget(body, 1);
  layout->addLayout(MakeButtonRow(nullptr, back_, next_));
  setFocusProxy(next_);
  InstallReturnKey(this, next_, back_);
}

}  // namespace dw::ui
