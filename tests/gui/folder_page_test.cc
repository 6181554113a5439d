// The folder pages as people use them: the path box follows the tree (mouse, arrow keys,
// type-ahead), typed paths move the tree, missing folders keep Next disabled, Return presses
// Next, and the tree lists folders made after it was shown.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/folder_places.h"
#include "gui/main_form.h"
#include "gui/folder_tree.h"
#include "gui/main_menu.h"
#include "gui/make_data01.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "ui_test_support.h"

namespace dw::ui::test {
namespace {
namespace fs = std::filesystem;

class FolderPageTest : public ShellTest {
 protected:
  FolderPageTest() { ActivateFrame(&shell_->Frame()); }
  // Main menu -> page 2, with the tree focused.
  TMakeData02& OpenSourcePage() {
    Click(shell_->MainMenu().Button1());
    Click(shell_->Data01().Next());
    return shell_->Data02();
  }
  // Clicks `folder` and opens it with the right arrow key, until it lists `children` in order.
  void OpenFolder(FolderTree* tree, const fs::path& folder, const QStringList& children) {
    ClickFolder(tree, folder);
    PressKey(Qt::Key_Right);
    ASSERT_TRUE(Eventually([&] { return ListedChildren(tree, folder) == children; }))
        << ListedChildren(tree, folder).join(' ').toStdString();
  }
  QString Native(const fs::path& path) { return QDir::toNativeSeparators(ToQString(path)); }
};

TEST_F(FolderPageTest, PathBoxFollowsArrowKeysAndTypeAheadAndTheJobGetsThatFolder) {
  for (const char* name : {"alpha", "beta", "gamma"}) fs::create_directories(Dir() / name);
  TMakeData02& page = OpenSourcePage();
  FolderTree* tree = page.ShellTreeView1();
  ASSERT_EQ(QApplication::focusWidget(), tree);
  OpenFolder(tree, Dir().path(), {"alpha", "beta", "gamma"});

  PressKey(Qt::Key_Down);
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "alpha"));
  PressKey(Qt::Key_Down);
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "beta"));
  PressKey(Qt::Key_Up);
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "alpha"));
  TypeText(QStringLiteral("g"));
  EXPECT_EQ(tree->SelectedPath(), ToQString(Dir() / "gamma"));
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "gamma"));
  PressKey(Qt::Key_Up);
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "beta"));
  EXPECT_TRUE(page.Next()->isEnabled());

  // The confirmation names the folders the boxes show.
  PressKey(Qt::Key_Return);
  TMakeData03& destination = shell_->Data03();
  ASSERT_EQ(Front(), &destination);
  OpenFolder(destination.ShellTreeView1(), Dir().path(), {"alpha", "beta", "gamma"});
  TypeText(QStringLiteral("g"));
  ASSERT_EQ(destination.Edit1()->text(), Native(Dir() / "gamma"));
  PressKey(Qt::Key_Return);
  ASSERT_EQ(dialogs_.confirmations.size(), 1);
  EXPECT_TRUE(dialogs_.confirmations[0].contains(ToQString(Dir() / "beta") + "/\r\n"));
  EXPECT_TRUE(dialogs_.confirmations[0].endsWith(ToQString(Dir() / "gamma") + "/ZAVO_DS/"));
}

TEST_F(FolderPageTest, ReturnPressesNextOnlyWhenEnabledAndAFocusedButtonPressesItself) {
  Click(shell_->MainMenu().Button1());
  ASSERT_EQ(QApplication::focusWidget(), shell_->Data01().Next());
  PressKey(Qt::Key_Return);
  TMakeData02& page = shell_->Data02();
  ASSERT_EQ(Front(), &page);
  EXPECT_TRUE(page.Next()->isDefault());

  PressKey(Qt::Key_Return);  // nothing chosen yet: Next is disabled
  EXPECT_EQ(Front(), &page);
  ClickFolder(page.ShellTreeView1(), Dir().path());
  page.Back()->setFocus();
  PressKey(Qt::Key_Return);  // the focused Back, not Next
  EXPECT_EQ(Front(), &shell_->Data01());

  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
  ASSERT_EQ(Front(), &page);
  ClickFolder(page.ShellTreeView1(), Dir().path());
  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Front(), &shell_->Data03());
  EXPECT_EQ(QApplication::focusWidget(), shell_->Data03().ShellTreeView1());
}

TEST_F(FolderPageTest, TypedPathMovesTheTreeAndAMissingOneKeepsNextDisabled) {
  fs::create_directories(Dir() / "typed" / "inner");
  TMakeData02& page = OpenSourcePage();
  PressKey(Qt::Key_L, Qt::ControlModifier);
  ASSERT_EQ(QApplication::focusWidget(), page.Edit1());

  TypeText(ToQString(Dir() / "typo"));
  EXPECT_TRUE(page.PathIsMissing());
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_TRUE(page.ChosenFolder().isEmpty());

  page.Edit1()->selectAll();
  TypeText(ToQString(Dir() / "typed" / "inner") + "/");
  EXPECT_FALSE(page.PathIsMissing());
  EXPECT_TRUE(page.Next()->isEnabled());
  EXPECT_EQ(page.ChosenFolder(), ToQString(Dir() / "typed" / "inner"));
  EXPECT_EQ(page.ShellTreeView1()->SelectedPath(), ToQString(Dir() / "typed" / "inner"));
  EXPECT_EQ(page.Edit1()->text(), ToQString(Dir() / "typed" / "inner") + "/");  // left as typed

  // A relative path names nothing; the home folder may be written as "~".
  page.Edit1()->selectAll();
  TypeText(QStringLiteral("typed"));
  EXPECT_TRUE(page.PathIsMissing());
  page.Edit1()->selectAll();
  TypeText(QStringLiteral("~"));
  EXPECT_EQ(page.ChosenFolder(), QDir::homePath());

  // The completer offers the folders of the typed parent.
  page.Edit1()->selectAll();
  TypeText(ToQString(Dir() / "typed" / "in"));
  QCompleter* completer = page.Edit1()->completer();
  ASSERT_NE(completer, nullptr);
  ASSERT_TRUE(Eventually([&] { return completer->popup()->isVisible(); }));
  EXPECT_EQ(completer->currentCompletion(), ToQString(Dir() / "typed" / "inner"));
}

TEST_F(FolderPageTest, FoldersMadeAfterTheTreeWasShownAppearAndF5KeepsTheChoice) {
  fs::create_directories(Dir() / "first");
  TMakeData02& page = OpenSourcePage();
  FolderTree* tree = page.ShellTreeView1();
  OpenFolder(tree, Dir().path(), {"first"});

  fs::create_directories(Dir() / "later");
  ASSERT_TRUE(Eventually([&] { return ListedChildren(tree, Dir().path()) == QStringList({"first", "later"}); }));
  PressKey(Qt::Key_Down);
  PressKey(Qt::Key_Down);
  ASSERT_EQ(page.Edit1()->text(), Native(Dir() / "later"));

  PressKey(Qt::Key_F5);
  EXPECT_EQ(tree->SelectedPath(), ToQString(Dir() / "later"));
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "later"));
  EXPECT_TRUE(page.Next()->isEnabled());
  EXPECT_EQ(page.Edit1()->completer()->model(), static_cast<QAbstractItemModel*>(tree->FileSystem()));

  // The chosen folder goes away (a card pulled out): the box keeps the path and marks it.
  fs::remove(Dir() / "later");
  ASSERT_TRUE(Eventually([&] { return !page.Next()->isEnabled(); }));
  EXPECT_TRUE(page.PathIsMissing());
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "later"));
}

TEST_F(FolderPageTest, PlacesListLeadsToTheHomeFolder) {
  fs::create_directories(Dir() / "elsewhere");
  TMakeData02& page = OpenSourcePage();
  ClickFolder(page.ShellTreeView1(), Dir() / "elsewhere");
  FolderPlaces* places = page.Places();
  QTest::mouseClick(places, Qt::LeftButton);
  QAbstractItemView* list = places->view();
  ASSERT_TRUE(Eventually([&] { return list->isVisible(); }));
  ASSERT_GE(places->count(), 1);
  EXPECT_EQ(places->itemData(0).toString(), QDir::homePath());
  QTest::keyClick(list, Qt::Key_Home);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(page.ShellTreeView1()->SelectedPath(), QDir::homePath());
  EXPECT_EQ(page.Edit1()->text(), QDir::toNativeSeparators(QDir::homePath()));
  EXPECT_EQ(places->currentIndex(), -1);  // the box reads "場所" again
}

TEST(FolderPlacesTest, RemovableMountPoints) {
  for (const char* root : {"/media/visitor/CARD", "/run/media/visitor/CARD", "/mnt", "/mnt/sd", "/media"}) {
    EXPECT_TRUE(IsRemovableMountPoint(QString::fromLatin1(root))) << root;
  }
  for (const char* root : {"/", "/home", "/mediaX", "/mntdata/a", "/run", "/run/user/1000", "/boot/efi"}) {
    EXPECT_FALSE(IsRemovableMountPoint(QString::fromLatin1(root))) << root;
  }
}

}  // namespace
}  // namespace dw::ui::test
