// The folder pages as people use them: the path box follows the tree (mouse, arrow keys,
// type-ahead), typed paths move the tree, missing folders keep Next disabled, Return presses
// Next, and the tree lists folders made after it was shown.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// A file system mounted for the length of a test (root only); `error` says why not.
class TestMount {
 public:
  TestMount(const fs::path& at, const char* type) : at_(at) {
    fs::create_directories(at);
    if (::geteuid() != 0) {
      error = "mounting needs root";
    } else if (::mount(type, at.c_str(), type, 0, nullptr) != 0) {
      error = std::string("mount ") + type + ": " + std::strerror(errno);
    }
  }
  ~TestMount() {
    if (error.empty()) ::umount2(at_.c_str(), MNT_DETACH);
  }
  std::string error;

 private:
  fs::path at_;
};

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
  dw::test::WriteFile(Dir() / "beta" / "CDATA" / "C77DEF.TXT", "");
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
  EXPECT_TRUE(dialogs_.confirmations[0].contains(ToQString(Dir() / "gamma") + "/ZAVO_DS/\r\n"));
}

TEST_F(FolderPageTest, ReturnPressesNextOnlyWhenEnabledAndAFocusedButtonPressesItself) {
  dw::test::WriteFile(Dir() / "CDATA" / "C77DEF.TXT", "");
  Click(shell_->MainMenu().Button1());
  ASSERT_EQ(QApplication::focusWidget(), shell_->Data01().Next());
  PressKey(Qt::Key_Return);
  TMakeData02& page = shell_->Data02();
  ASSERT_EQ(Front(), &page);
  EXPECT_TRUE(page.Next()->isDefault());

  PressKey(Qt::Key_Return);  // the home folder holds no catalog: Next is disabled
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
  dw::test::WriteFile(Dir() / "typed" / "inner" / "CDATA" / "C77DEF.TXT", "");
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

  dw::test::WriteFile(Dir() / "later" / "CDATA" / "C77DEF.TXT", "");
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
  fs::remove_all(Dir() / "later");
  ASSERT_TRUE(Eventually([&] { return !page.Next()->isEnabled(); }));
  EXPECT_TRUE(page.PathIsMissing());
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "later"));
}

// The catalog page accepts only a catalog folder and offers the one the user most likely meant.
TEST_F(FolderPageTest, SourcePageHintsAtTheCatalogFolderAndOffersIt) {
  dw::test::WriteFile(Dir() / "disc" / "cat" / "CDATA" / "C77DEF.TXT", "");
  TMakeData02& page = OpenSourcePage();
  FolderTree* tree = page.ShellTreeView1();
  ClickFolder(tree, Dir() / "disc");  // one level too high
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_TRUE(page.Hint()->isVisible());
  ASSERT_TRUE(page.Offer()->isVisible());
  EXPECT_EQ(page.Offer()->text(), QString::fromUtf8("「cat」にする"));
  Click(page.Offer());
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "disc" / "cat"));
  EXPECT_EQ(tree->SelectedPath(), ToQString(Dir() / "disc" / "cat"));
  EXPECT_TRUE(page.Next()->isEnabled());
  EXPECT_FALSE(page.Hint()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), page.Next());

  page.Edit1()->setText(ToQString(Dir() / "disc" / "cat" / "CDATA"));  // CDATA itself
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_EQ(page.Offer()->text(), QString::fromUtf8("「cat」にする"));
  ClickFolder(tree, Dir() / "disc" / "cat" / "CDATA");  // nothing near to offer
  PressKey(Qt::Key_Right);
  EXPECT_TRUE(page.Hint()->isVisible());
  // The page judges again when the folder's contents change.
  dw::test::WriteFile(Dir() / "disc" / "cat" / "CDATA" / "CDATA" / "C78DEF.TXT", "");
  ASSERT_TRUE(Eventually([&] { return page.Next()->isEnabled(); }));
  EXPECT_FALSE(page.Hint()->isVisible());
}

// ZAVO_DS is made inside the destination: choosing a ZAVO_DS folder is warned of, its parent offered.
TEST_F(FolderPageTest, DestinationPageWarnsOfAZavoDsFolderAndOffersItsParent) {
  dw::test::WriteFile(Dir() / "CDATA" / "C77DEF.TXT", "");
  fs::create_directories(Dir() / "card" / "ZAVO_DS");
  TMakeData02& source = OpenSourcePage();
  ClickFolder(source.ShellTreeView1(), Dir().path());
  Click(source.Next());
  TMakeData03& page = shell_->Data03();
  ClickFolder(page.ShellTreeView1(), Dir() / "card");
  EXPECT_FALSE(page.Hint()->isVisible());
  ClickFolder(page.ShellTreeView1(), Dir() / "card" / "ZAVO_DS");
  EXPECT_TRUE(page.Hint()->isVisible());
  EXPECT_TRUE(page.Next()->isEnabled());  // a warning, not a refusal
  Click(page.Offer());
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "card"));
  EXPECT_FALSE(page.Hint()->isVisible());
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

TEST_F(FolderPageTest, CardMountedOnAListedFolderIsListedWithoutF5) {
  fs::create_directories(Dir() / "slot");
  TMakeData02& page = OpenSourcePage();
  FolderTree* tree = page.ShellTreeView1();
  OpenFolder(tree, Dir().path(), {"slot"});
  bool listed = false;
  QObject::connect(tree->FileSystem(), &QFileSystemModel::directoryLoaded, tree, [&](const QString& path) {
    if (path == ToQString(Dir() / "slot")) listed = true;
  });
  ClickFolder(tree, Dir() / "slot");
  PressKey(Qt::Key_Right);  // open, and listed as empty before the card comes
  ASSERT_TRUE(Eventually([&] { return listed; }));
  const TestMount card(Dir() / "slot", "tmpfs");
  if (!card.error.empty()) GTEST_SKIP() << card.error;
  fs::create_directories(Dir() / "slot" / "ZAVO_DS");
  ASSERT_TRUE(Eventually([&] { return ListedChildren(tree, Dir() / "slot") == QStringList({"ZAVO_DS"}); }))
      << ListedChildren(tree, Dir() / "slot").join(' ').toStdString();
  EXPECT_EQ(tree->SelectedPath(), ToQString(Dir() / "slot"));
  EXPECT_EQ(page.Edit1()->text(), Native(Dir() / "slot"));
}

// A volume that reports no size (ramfs here; a card through a user-space driver) is a place too.
TEST_F(FolderPageTest, PlacesListsARemovableMountThatReportsNoSize) {
  const fs::path at = "/media/dw-test-" + std::to_string(::getpid());
  {
    const TestMount volume(at, "ramfs");
    if (!volume.error.empty()) {
      fs::remove(at);
      GTEST_SKIP() << volume.error;
    }
    FolderPlaces* places = OpenSourcePage().Places();
    places->Rebuild();
    EXPECT_GE(places->findData(ToQString(at)), 1);
  }
  fs::remove(at);
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
