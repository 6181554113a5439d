// TMakeCircleCheck01: the check-list import's source file.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace dw::ui {

class Dialogs;

class TMakeCircleCheck01 : public QWidget {
  Q_OBJECT

 public:
  TMakeCircleCheck01(Dialogs& dialogs, QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* ChooseFile() const { return choose_file_; }
  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

  // Empties the file box, which disables Next.
  void ClearFile();

 private:
  void ChooseFileClick();
  void UpdateEnabling();

  Dialogs& dialogs_;
  QLineEdit* edit1_;
  QPushButton* choose_file_;
  QPushButton* next_;
  QPushButton* back_;
};

}  // namespace dw::ui
