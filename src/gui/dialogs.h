// The message boxes, file dialog and beep of the desktop program, behind one interface so that
// tests can answer boxes and count beeps without modal dialogs.
#pragma once

#include <QString>

class QWidget;

namespace dw::ui {

class Dialogs {
 public:
  enum class ErrorButton { kOk, kAbort };

  virtual ~Dialogs() = default;
  virtual void Beep() = 0;
  // Yes/No box titled "確認" with the question icon; true only when the answer is Yes.
  virtual bool Confirm(const QString& text) = 0;
  // Information box with an OK button.
  virtual void Information(const QString& text) = 0;
  // Error box of a check the program makes itself, with one OK or Abort button.
  virtual void Error(const QString& text, ErrorButton button) = 0;
  // The application's error box for a failed job: titled with the application title, stop icon.
  virtual void JobError(const QString& text) = 0;
  // Open-file dialog; `filter` is in the "name|pattern|name|pattern" form. Empty when cancelled.
  virtual QString OpenFile(const QString& title, const QString& filter) = 0;
};

// "CSVﾌｧｲﾙ|*.CSV|全てのﾌｧｲﾙ|*.*" -> "CSVﾌｧｲﾙ (*.CSV);;全てのﾌｧｲﾙ (*.*)".
QString ToQtFileFilter(const QString& filter);

}  // namespace dw::ui
