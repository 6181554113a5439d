#include "gui/main_form.h"

#include <QEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      stack_(new QStackedWidget(this)) {
  setObjectName(QStringLiteral("TMainForm"));
  setWindowTitle(Utf8(text::kFrameTitle));
  setMinimumSize(kClientWidth, kClientHeight);  // the pages' texts need that much
  resize(kClientWidth, kClientHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(stack_);
}

void TMainForm::AddPage(QWidget* page) {
  page->setWindowTitle(QString());
  stack_->addWidget(page);
}

void TMainForm::ShowPage(QWidget* page) {
  stack_->setCurrentWidget(page);
  page->setFocus(Qt::OtherFocusReason);
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The focused control is drawn with its focus frame from the start, not only after a first
  // Tab: the main menu is used with the keyboard right away.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) setAttribute(Qt::WA_KeyboardFocusChange);
}

QWidget* TMainForm::CurrentPage() const { return stack_->currentWidget(); }

}  // namespace dw::ui
