// TMakePcCheck01: the check-list export's introduction.
#pragma once

#include <QWidget>

class QPushButton;

namespace dw::ui {

class TMakePcCheck01 : public QWidget {
  Q_OBJECT

 public:
  explicit TMakePcCheck01(QWidget* parent = nullptr);

  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

 private:
  QPushButton* next_;
  QPushButton* back_;
};

}  // namespace dw::ui
