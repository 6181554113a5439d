// TMakeDataTypeSelect: the conversion mode (data and images, data only, images only).
#pragma once

#include <QWidget>

class QPushButton;

namespace dw::ui {

class RadioGroup;

class TMakeDataTypeSelect : public QWidget {
  Q_OBJECT

 public:
  explicit TMakeDataTypeSelect(QWidget* parent = nullptr);

  RadioGroup* RadioGroup1() const { return radio_group1_; }
  QPushButton* Decide() const { return decide_; }

 private:
  RadioGroup* radio_group1_;
  QPushButton* decide_;
};

}  // namespace dw::ui
