// Helpers for the page tests: dialogs that answer from a script, a running shell, clicks.
#pragma once

#include <deque>
#include <ostream>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTest>
#include <Qt>

#include "gui/dialogs.h"
#include "gui/shell.h"
#include "support/test_support.h"

class QAbstractButton;

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace dw::ui {
class FolderTree;
}

namespace dw::ui::test {

// Answers confirmation boxes from `answers` (a box with no answer left counts as No) and
// records every box and beep, in order, in `events`.
class FakeDialogs : public Dialogs {
 public:
  void Beep() override;
  bool Confirm(const QString& text) override;
  void Information(const QString& text) override;
  void Error(const QString& text, ErrorButton button) override;
  void JobError(const QString& text) override;
  QString OpenFile(const QString& title, const QString& filter) override;

  int beeps = 0;
  std::deque<bool> answers;
  QStringList confirmations;
  QString chosen_file;  // what the file dialog returns
  QString file_dialog_title, file_dialog_filter;
  std::vector<std::string> events;  // "beep", "confirm", "info: ...", "error(ok): ...", "job error: ..."
};

// A shell on a temporary workspace, shown with the main menu in front.
class ShellTest : public ::testing::Test {
 protected:
  ShellTest();
  ~ShellTest() override;

  QWidget* Front() const;
  std::filesystem::path Workspace() const { return dir_ / "DATA"; }
  const dw::test::TempDir& Dir() const { return dir_; }

  dw::test::TempDir dir_;
  FakeDialogs dialogs_;
  Shell* shell_ = nullptr;
};

void Click(QAbstractButton* button);
// Clicks a radio button on its indicator (its centre may lie beyond the label).
void ClickRadio(QAbstractButton* button);
// Selects `folder` in the tree and clicks it with the left mouse button.
void ClickFolder(FolderTree* tree, const std::filesystem::path& folder);
// Lets events run until `condition` holds, for at most five seconds (as QTRY_ does; the QTRY_
// macros themselves report to QtTest, not to GoogleTest).
template <typename Condition>
bool Eventually(Condition condition) {
  return QTest::qWaitFor(condition, 5000);
}
// Makes the frame the active window, so that keys go where the focus is.
void ActivateFrame(QWidget* frame);
// A key pressed and released where the keyboard goes: an open popup, else the focused widget.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Text typed the same way.
void TypeText(const QString& text);
// The names of the folders the tree lists below `folder` (as far as it has listed them).
QStringList ListedChildren(FolderTree* tree, const std::filesystem::path& folder);
QString ToQString(const std::filesystem::path& path);
// Every file below `root`, as relative path -> bytes, for comparing two trees.
std::vector<std::pair<std::string, std::string>> TreeContents(const std::filesystem::path& root);

}  // namespace dw::ui::test
