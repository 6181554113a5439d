// A titled group of exclusive radio buttons with an item index, laid out in columns.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace dw::ui {

class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent = nullptr);

  // The checked item, or -1 when none is.
  int ItemIndex() const;
  void SetItemIndex(int index);
  int Count() const;
  QRadioButton* Item(int index) const;

 private:
  QButtonGroup* group_;
};

}  // namespace dw::ui
