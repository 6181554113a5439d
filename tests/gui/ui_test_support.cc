#include "ui_test_support.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QFileSystemModel>
#include <QTest>

#include "gui/folder_tree.h"
#include "gui/main_form.h"

namespace dw::ui::test {
namespace fs = std::filesystem;

void FakeDialogs::Beep() {
  ++beeps;
  events.push_back("beep");
}

bool FakeDialogs::Confirm(const QString& text) {
  confirmations << text;
  events.push_back("confirm");
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeDialogs::Information(const QString& text) { events.push_back("info: " + text.toStdString()); }

void FakeDialogs::Error(const QString& text, ErrorButton button) {
  events.push_back(std::string(button == ErrorButton::kAbort ? "error(abort): " : "error(ok): ") +
                   text.toStdString());
}

void FakeDialogs::JobError(const QString& text) { events.push_back("job error: " + text.toStdString()); }

QString FakeDialogs::OpenFile(const QString& title, const QString& filter) {
  file_dialog_title = title;
  file_dialog_filter = filter;
  events.push_back("open file");
  return chosen_file;
}

ShellTest::ShellTest() {
  ShellOptions options;
  options.dialogs = &dialogs_;
  options.workspace = Workspace();
  shell_ = new Shell(options);
  shell_->Start();
}

ShellTest::~ShellTest() { delete shell_; }

QWidget* ShellTest::Front() const { return shell_->Frame().CurrentPage(); }

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void ClickRadio(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void ClickFolder(FolderTree* tree, const fs::path& folder) {
  const QModelIndex index = tree->IndexOf(ToQString(folder));
  ASSERT_TRUE(index.isValid()) << folder;
  tree->setCurrentIndex(index);
  tree->scrollTo(index);
  const QRect rect = tree->visualRect(index);
  ASSERT_TRUE(tree->viewport()->rect().contains(rect.center())) << folder;
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

void ActivateFrame(QWidget* frame) {
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
}

namespace {

// Where the keyboard goes: an open popup (a completer's list) first, as on screen.
QWidget* KeyTarget() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  return QApplication::focusWidget();
}

}  // namespace

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = KeyTarget();
  ASSERT_NE(target, nullptr);
  QTest::keyClick(target, key, modifiers);
}

void TypeText(const QString& text) {
  QWidget* target = KeyTarget();
  ASSERT_NE(target, nullptr);
  QTest::keyClicks(target, text);
}

QStringList ListedChildren(FolderTree* tree, const fs::path& folder) {
  QFileSystemModel* model = tree->FileSystem();
  const QModelIndex parent = model->index(ToQString(folder));
  QStringList names;
  for (int row = 0; row < model->rowCount(parent); ++row) names << model->index(row, 0, parent).data().toString();
  return names;
}

QString ToQString(const fs::path& path) { return QString::fromStdString(path.string()); }

std::vector<std::pair<std::string, std::string>> TreeContents(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      out.emplace_back(fs::relative(entry.path(), root).string(), dw::test::ReadFile(entry.path()));
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace dw::ui::test
