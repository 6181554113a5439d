#include "gui/make_data_type_select.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/radio_group.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakeDataTypeSelect::TMakeDataTypeSelect(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TMakeDataTypeSelect"));
  radio_group1_ = new RadioGroup(
      Utf8(text::kModeGroup),
      {Utf8(text::kModeDataAndImages), Utf8(text::kModeDataOnly), Utf8(text::kModeImagesOnly)}, 1, this);
  radio_group1_->setObjectName(QStringLiteral("RadioGroup1"));
  radio_group1_->SetItemIndex(0);
  decide_ = MakeButton(this, "Button1", text::kDecide);
  QLabel* caution = MakeLabel(this, "Label1", {text::kCaution}, true, Qt::AlignLeft);
  QLabel* note = MakeLabel(this, "Label2", {text::kModeNote}, false, Qt::AlignLeft);
  note->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 14);
  layout->setSpacing(10);
  layout->addWidget(radio_group1_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(decide_);
  layout->addLayout(row);
  layout->addStretch(1);
  layout->addWidget(caution);
  layout->addWidget(note);
  setFocusProxy(radio_group1_);
  InstallReturnKey(this, decide_, decide_);
}

}  // namespace dw::ui
