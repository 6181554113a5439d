// TStatusForm: the catalog conversion's status label, log lines, progress bar and back button.
// The bar moves only forward within a phase (a phase starts with a new range or a new run), and
// moving it repaints the page at least every 50 ms, also where a job does not ask for it.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "common/status_log.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace dw::ui {

class TStatusForm : public QWidget, public dw::StatusLog {
  Q_OBJECT

 public:
  explicit TStatusForm(QWidget* parent = nullptr);

  QLabel* Label1() const { return label1_; }
  QPlainTextEdit* Memo1() const { return memo1_; }
  QProgressBar* ProgressBar1() const { return progress_bar1_; }
  QPushButton* Button1() const { return button1_; }
  QStringList Lines() const;

  // The run ended by an error: label "エラー発生", the error text added to the log, "戻る"
  // enabled so the user can go back to the menu.
  void ShowFailure(const QString& text);
  // The run completed: the bar is full and the page names where the data set went.
  void ShowFinished(const QString& saved_to);
  QLabel* SavedTo() const { return saved_to_; }

  // dw::StatusLog
  void ClearLines() override;
  void AddLine(const std::string& utf8) override;
  void SetLabel(const std::string& utf8) override;
  void SetProgressMin(int value) override;
  void SetProgressMax(int value) override;
  void SetProgressPosition(int value) override;
  void EnableBackButton(bool enabled) override;
  void Show() override;
  void ProcessEvents() override;

 signals:
  // The job asks for the page to be brought to the front.
  void ShowRequested();

 private:
  QLabel* label1_;
  QPlainTextEdit* memo1_;
  QProgressBar* progress_bar1_;
  QLabel* saved_to_;
  QPushButton* button1_;
  int line_count_ = 0;
  bool phase_start_ = true;  // the next position may lie below the current one
  QElapsedTimer since_repaint_;
};

}  // namespace dw::ui
