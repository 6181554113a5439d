#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

// Message texts keep their CR LF (or LF CR) breaks; a label wants plain LF.
QString ForDisplay(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
  text.remove(QLatin1Char('\r'));
  return text;
}

void ShowBox(QMessageBox::Icon icon, const char* title, const QString& text, const char* button) {
  QMessageBox box(icon, QString::fromUtf8(title), ForDisplay(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.addButton(QString::fromUtf8(button), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace

QString ToQtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QLatin1String(";;"));
}

void QtDialogs::Beep() { QApplication::beep(); }

bool QtDialogs::Confirm(const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(text::kConfirmTitle), ForDisplay(text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(QString::fromUtf8(text::kYes), QMessageBox::YesRole);
  box.addButton(QString::fromUtf8(text::kNo), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.exec();
  return box.clickedButton() == static_cast<QAbstractButton*>(yes);
}

void QtDialogs::Information(const QString& text) {
  ShowBox(QMessageBox::Information, text::kInformationTitle, text, text::kOk);
}

void QtDialogs::Error(const QString& text, ErrorButton button) {
  ShowBox(QMessageBox::Critical, text::kErrorTitle, text, button == ErrorButton::kAbort ? text::kAbort : text::kOk);
}

void QtDialogs::JobError(const QString& text) {
  ShowBox(QMessageBox::Critical, text::kApplicationTitle, text, text::kOk);
}

QString QtDialogs::OpenFile(const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), ToQtFileFilter(filter));
}

}  // namespace dw::ui
