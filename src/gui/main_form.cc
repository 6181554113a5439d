#include "gui/main_form.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      stack_(new QStackedWidget(this)) {
  setObjectName(QStringLiteral("TMainForm"));
  setWindowTitle(Utf8(text::kFrameTitle));
  setFixedSize(kClientWidth, kClientHeight);
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

QWidget* TMainForm::CurrentPage() const { return stack_->currentWidget(); }

}  // namespace dw::ui
