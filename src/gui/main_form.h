// TMainForm: the frame that holds every page; one page is in front at a time. It opens at the
// pages' own size, may be made larger or maximised, and the page in front grows with it.
#pragma once

#include <QWidget>

class QStackedWidget;

namespace dw::ui {

class TMainForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 497;
  static constexpr int kClientHeight = 380;

  explicit TMainForm(QWidget* parent = nullptr);

  // Adds a page; pages are never removed, so each keeps the state of its controls.
  void AddPage(QWidget* page);
  // Brings `page` to the front and gives it the keyboard focus.
  void ShowPage(QWidget* page);
  QWidget* CurrentPage() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QStackedWidget* stack_;
};

}  // namespace dw::ui
