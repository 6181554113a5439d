#include "gui/return_key.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace dw::ui {
namespace {

// Key events that no child accepted travel up to the page, where this filter sees them.
class ReturnKeyFilter : public QObject {
 public:
  ReturnKeyFilter(QWidget* page, QPushButton* button, QPushButton* back)
      : QObject(page), page_(page), button_(button), back_(back) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && key->key() == Qt::Key_Escape) {
      if (back_ && back_->isEnabled() && back_->isVisible()) back_->click();
      return true;
    }
    if (!plain || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) return false;
    // A focused button takes Return itself, as Space does; anything else presses the default.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* target = focused && page_->isAncestorOf(focused) ? focused : button_.data();
    if (target && target->isEnabled() && target->isVisible()) target->click();
    return true;  // also when disabled: Return goes no further than its page
  }

 private:
  QWidget* page_;  // owns this filter
  QPointer<QPushButton> button_;
  QPointer<QPushButton> back_;
};

}  // namespace

void InstallReturnKey(QWidget* page, QPushButton* button, QPushButton* back) {
  if (button) button->setDefault(true);
  page->installEventFilter(new ReturnKeyFilter(page, button, back));
}

}  // namespace dw::ui
