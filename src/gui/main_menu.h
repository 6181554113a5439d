// TMainMenu: the heading, the program's purpose and the four job buttons.
#pragma once

#include <QWidget>

class QPushButton;

namespace dw::ui {

class TMainMenu : public QWidget {
  Q_OBJECT

 public:
  explicit TMainMenu(QWidget* parent = nullptr);

  QPushButton* Button1() const { return button1_; }  // catalog wizard
  QPushButton* Button2() const { return button2_; }  // check-list import
  QPushButton* Button3() const { return button3_; }  // quit
  QPushButton* Button4() const { return button4_; }  // check-list export

 private:
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* button3_;
  QPushButton* button4_;
};

}  // namespace dw::ui
