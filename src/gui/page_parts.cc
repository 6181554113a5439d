#include "gui/page_parts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStringList>

namespace dw::ui {
namespace {

QString JoinLines(std::initializer_list<const char*> lines) {
  QStringList out;
  for (const char* line : lines) out << QString::fromUtf8(line);
  return out.join(QLatin1Char('\n'));
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  font.setBold(bold);
  widget->setFont(font);
}

}  // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, std::initializer_list<const char*> lines, bool bold,
                  Qt::Alignment alignment) {
  auto* label = new QLabel(JoinLines(lines), parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment | Qt::AlignVCenter);
  SetBold(label, bold);
  return label;
}

QLabel* MakePanel(QWidget* parent, const char* name, std::initializer_list<const char*> lines, bool bold) {
  QLabel* panel = MakeLabel(parent, name, lines, bold);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(1);
  panel->setMargin(6);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(palette);
  return panel;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(false);
  return button;
}

QLineEdit* MakePathBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::ClickFocus);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  box->setPalette(palette);
  return box;
}

QBoxLayout* MakeButtonRow(QWidget* left, QPushButton* back, QPushButton* next) {
  auto* row = new QHBoxLayout;
  if (left) row->addWidget(left);
  row->addStretch(1);
  row->addWidget(back);
  row->addWidget(next);
  return row;
}

QString WithTrailingSeparator(const QString& path) {
  QString out = QDir::toNativeSeparators(path);
  if (!out.endsWith(QDir::separator())) out += QDir::separator();
  return out;
}

std::filesystem::path ToFsPath(const QString& path) {
#ifdef _WIN32
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(path.toStdString());  // file names are UTF-8 here
#endif
}

QString FromFsPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.wstring());
#else
  return QString::fromStdString(path.string());
#endif
}

}  // namespace dw::ui
