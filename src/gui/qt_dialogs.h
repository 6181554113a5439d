// Dialogs on screen: QMessageBox, QFileDialog and QApplication::beep.
#pragma once

#include "gui/dialogs.h"

namespace dw::ui {

class QtDialogs : public Dialogs {
 public:
  void Beep() override;
  bool Confirm(const QString& text) override;
  void Information(const QString& text) override;
  void Error(const QString& text, ErrorButton button) override;
  void JobError(const QString& text) override;
  QString OpenFile(const QString& title, const QString& filter) override;
};

}  // namespace dw::ui
