#include "gui/make_pc_check01.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakePcCheck01::TMakePcCheck01(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TMakePcCheck01"));
  QLabel* banner = MakePanel(this, "Panel1", {text::kExport01Banner1, text::kExport01Banner2}, true);
  QLabel* notes = MakeLabel(this, "Label1", {text::kNeedsCatalogRun, text::kOtherwiseError}, false);
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(10);
  layout->addWidget(banner);
  layout->addWidget(notes, 1);
  layout->addLayout(MakeButtonRow(nullptr, back_, next_));
  setFocusProxy(next_);
  InstallReturnKey(this, next_, back_);
}

}  // namespace dw::ui
