#include "gui/make_circle_check01.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "checklist/check_list_import.h"
#include "checklist/checklist_csv.h"
#include "common/error.h"
#include "gui/dialogs.h"
#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakeCircleCheck01::TMakeCircleCheck01(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("TMakeCircleCheck01"));
  QLabel* banner = MakePanel(this, "Panel1", {text::kImport01Banner1, text::kImport01Banner2}, true);
  QLabel* notes = MakeLabel(this, "Label1",
                            {text::kImport01Choose, text::kImport01Ver1Note, text::kNeedsCatalogRun,
                             text::kOtherwiseError},
                            false, Qt::AlignLeft);
  auto* group = new QGroupBox(Utf8(text::kImport01Group), this);
  group->setObjectName(QStringLiteral("GroupBox1"));
  edit1_ = MakePathBox(group, "Edit1");
  choose_file_ = MakeButton(group, "Button3", text::kImport01ChooseFile);
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* group_row = new QHBoxLayout(group);
  group_row->addWidget(edit1_, 1);
  group_row->addWidget(choose_file_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(8);
  layout->addWidget(banner);
  layout->addWidget(notes);
  layout->addStretch(1);
  layout->addWidget(group);
  layout->addStretch(1);
  layout->addLayout(MakeButtonRow(nullptr, back_, next_));
  setFocusProxy(choose_file_);
  InstallReturnKey(this, next_, back_);

  connect(choose_file_, &QPushButton::clicked, this, &TMakeCircleCheck01::ChooseFileClick);
  connect(edit1_, &QLineEdit::textChanged, this, &TMakeCircleCheck01::UpdateEnabling);
  UpdateEnabling();
}

void TMakeCircleCheck01::ClearFile() {
  edit1_->clear();
  UpdateEnabling();
}

void TMakeCircleCheck01::ChooseFileClick() {
  const QString file = dialogs_.OpenFile(Utf8(text::kImport01DialogTitle), Utf8(text::kImport01DialogFilter));
  if (file.isEmpty()) return;
  // The file's first kept line tells a Ver.1 check list; any other file is refused here, with
  // the import's own message, rather than after the output folder and the confirmation.
  try {
    if (!dw::IsVer1CheckListFile(ToFsPath(file))) {
      dialogs_.Beep();
      dialogs_.Error(QString::fromUtf8(dw::kNotVer1Message.data(), dw::kNotVer1Message.size()),
                     Dialogs::ErrorButton::kAbort);
      return;
    }
  } catch (const dw::Error& e) {
    dialogs_.JobError(QString::fromUtf8(e.what()));
    return;
  }
  edit1_->setText(QDir::toNativeSeparators(file));
  next_->setFocus(Qt::OtherFocusReason);  // Return goes on rather than opening the dialog again
}

void TMakeCircleCheck01::UpdateEnabling() { next_->setEnabled(!edit1_->text().isEmpty()); }

}  // namespace dw::ui
