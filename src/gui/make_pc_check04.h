// TMakePcCheck04: the colour for circles that were only visited or bought from; Next starts
// the export.
#pragma once

#include <QWidget>

class QPushButton;

namespace dw::ui {

class RadioGroup;

class TMakePcCheck04 : public QWidget {
  Q_OBJECT

 public:
  explicit TMakePcCheck04(QWidget* parent = nullptr);

  RadioGroup* RadioGroup1() const { return radio_group1_; }
  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

 private:
  RadioGroup* radio_group1_;
  QPushButton* next_;
  QPushButton* back_;
};

}  // namespace dw::ui
