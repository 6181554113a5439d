// TMakeData01: the catalog wizard's introduction.
#pragma once

#include <QWidget>

class QPushButton;

namespace dw::ui {

class TMakeData01 : public QWidget {
  Q_OBJECT

 public:
  explicit TMakeData01(QWidget* parent = nullptr);

  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

 private:
  QPushButton* next_;
  QPushButton* back_;
};

}  // namespace dw::ui
