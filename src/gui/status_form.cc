#include "gui/status_form.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QThread>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

constexpr int kRepaintMs = 50;

}  // namespace

TStatusForm::TStatusForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TStatusForm"));
  label1_ = MakePanel(this, "Label1", {text::kStatusInitialLabel}, false);
  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setReadOnly(true);
  memo1_->setFocusPolicy(Qt::ClickFocus);
  memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // error texts name long paths
  progress_bar1_ = new QProgressBar(this);
  progress_bar1_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_bar1_->setRange(0, 10);
  progress_bar1_->setValue(0);
  progress_bar1_->setTextVisible(false);
  saved_to_ = MakeLabel(this, "Label2", {""}, false, Qt::AlignLeft);
  saved_to_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  saved_to_->setWordWrap(true);
  saved_to_->hide();
  button1_ = MakeButton(this, "Button1", text::kBack);
  button1_->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(6);
  layout->addWidget(label1_);
  layout->addWidget(memo1_, 1);
  layout->addWidget(progress_bar1_);
  auto* row = new QHBoxLayout;
  row->addWidget(saved_to_, 1);
  row->addWidget(button1_);
  layout->addLayout(row);
  InstallReturnKey(this, button1_, button1_);
  since_repaint_.start();
}

QStringList TStatusForm::Lines() const {
  if (line_count_ == 0) return {};  // an empty memo still holds one empty block
  return memo1_->toPlainText().split(QLatin1Char('\n'));
}

void TStatusForm::ClearLines() {
  memo1_->clear();
  saved_to_->hide();
  line_count_ = 0;
  phase_start_ = true;  // a new run
}

void TStatusForm::AddLine(const std::string& utf8) {
  memo1_->appendPlainText(QString::fromStdString(utf8));
  memo1_->moveCursor(QTextCursor::End);  // the newest line stays in view
  ++line_count_;
}

void TStatusForm::SetLabel(const std::string& utf8) { label1_->setText(QString::fromStdString(utf8)); }

void TStatusForm::SetProgressMin(int value) {
  progress_bar1_->setMinimum(value);
  phase_start_ = true;
}

void TStatusForm::SetProgressMax(int value) {
  progress_bar1_->setMaximum(value);
  phase_start_ = true;
}

void TStatusForm::SetProgressPosition(int value) {
  // QProgressBar ignores values outside its range; a bar shows them at its nearest end.
  const int shown = std::clamp(value, progress_bar1_->minimum(), progress_bar1_->maximum());
  // Within a phase a lower position (the hall maps' reset to 0, the day counter after the
  // table writers) would make the bar jump back; it holds where it is instead.
  if (phase_start_ || shown > progress_bar1_->value()) progress_bar1_->setValue(shown);
  phase_start_ = false;
  // Long steps (the copy) move the bar without letting the page repaint; do it for them.
  if (since_repaint_.elapsed() >= kRepaintMs && QThread::currentThread() == thread()) ProcessEvents();
}

void TStatusForm::EnableBackButton(bool enabled) {
  button1_->setEnabled(enabled);
  if (enabled) button1_->setFocus(Qt::OtherFocusReason);  // the user's next step
}

void TStatusForm::Show() { emit ShowRequested(); }

void TStatusForm::ProcessEvents() {
  QCoreApplication::processEvents();
  since_repaint_.restart();
}

void TStatusForm::ShowFailure(const QString& text) {
  label1_->setText(Utf8(text::kStatusErrorLabel));
  AddLine(QString(text).remove(QLatin1Char('\r')).toStdString());
  EnableBackButton(true);
}

void TStatusForm::ShowFinished(const QString& saved_to) {
  progress_bar1_->setValue(progress_bar1_->maximum());
  saved_to_->setText(Utf8(text::kStatusSavedTo) + saved_to);
  saved_to_->show();
}

}  // namespace dw::ui
