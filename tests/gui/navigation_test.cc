// The main menu and the catalog wizard: which buttons beep, Next enabling, going back and forth.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/folder_places.h"
#include "gui/folder_tree.h"
#include "gui/main_form.h"
#include "gui/main_menu.h"
#include "gui/make_data01.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/make_data_type_select.h"
#include "gui/radio_group.h"
#include "gui/make_circle_check01.h"
#include "gui/make_pc_check01.h"
#include "ui_test_support.h"

namespace dw::ui::test {
namespace {

using NavigationTest = ShellTest;

TEST_F(NavigationTest, FrameOpensAtItsSizeAndTheTreeTakesTheRoomWhenItGrows) {
  TMainForm& frame = shell_->Frame();
  EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("Quorvatelle Lumenfold Pipview for DS  Datawright"));
  EXPECT_EQ(QApplication::applicationDisplayName(),
            QString::fromUtf8("Quorvatelle Lumenfold Pipview for DS Datawright"));
  EXPECT_EQ(frame.size(), QSize(497, 380));
  EXPECT_TRUE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Front(), &shell_->MainMenu());
  // The first button has the focus, drawn as for the keyboard.
  ActivateFrame(&frame);
  EXPECT_EQ(QApplication::focusWidget(), shell_->MainMenu().Button1());
  EXPECT_TRUE(frame.testAttribute(Qt::WA_KeyboardFocusChange));

  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  FolderTree* tree = shell_->Data02().ShellTreeView1();
  const QSize small = tree->size();
  frame.resize(900, 700);
  ASSERT_TRUE(Eventually([&] { return tree->height() >= small.height() + 250; }))
      << small.height() << " -> " << tree->height();
  EXPECT_GE(tree->width(), small.width() + 400);
  EXPECT_EQ(shell_->Data02().size(), frame.size());
}

TEST_F(NavigationTest, OnlyTheCheckListButtonsOfTheMainMenuBeep) {
  Click(shell_->MainMenu().Button1());
  EXPECT_EQ(Front(), &shell_->Data01());
  EXPECT_EQ(dialogs_.beeps, 0);
  Click(shell_->Data01().Back());

  Click(shell_->MainMenu().Button2());
  EXPECT_EQ(Front(), &shell_->CircleCheck01());
  EXPECT_EQ(dialogs_.beeps, 1);
  Click(shell_->CircleCheck01().Back());

  Click(shell_->MainMenu().Button4());
  EXPECT_EQ(Front(), &shell_->PcCheck01());
  EXPECT_EQ(dialogs_.beeps, 2);
  Click(shell_->PcCheck01().Back());
  EXPECT_EQ(Front(), &shell_->MainMenu());

  ASSERT_TRUE(shell_->Frame().isVisible());
  Click(shell_->MainMenu().Button3());
  EXPECT_FALSE(shell_->Frame().isVisible());
  EXPECT_EQ(dialogs_.beeps, 2);
}

TEST_F(NavigationTest, BoxAgreesWithTheHighlightOnEveryVisitAndNextFollowsTheRule) {
  dw::test::WriteFile(Dir() / "cat" / "CDATA" / "C77DEF.TXT", "");
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  EXPECT_EQ(dialogs_.beeps, 1);
  TMakeData02& page = shell_->Data02();
  ASSERT_EQ(Front(), &page);
  // The home folder starts highlighted, so the box names it; it holds no catalog.
  EXPECT_EQ(page.ShellTreeView1()->SelectedPath(), QDir::homePath());
  EXPECT_EQ(page.Edit1()->text(), QDir::toNativeSeparators(QDir::homePath()));
  EXPECT_FALSE(page.Next()->isEnabled());

  ClickFolder(page.ShellTreeView1(), Dir() / "cat");
  ASSERT_TRUE(page.Next()->isEnabled());
  Click(page.Next());
  TMakeData03& destination = shell_->Data03();
  ClickFolder(destination.ShellTreeView1(), Dir().path());
  ASSERT_TRUE(destination.Next()->isEnabled());

  // Back to page 1 and forward again: both pages name their last folder, Next enabled.
  Click(destination.Back());
  Click(page.Back());
  Click(shell_->Data01().Next());
  EXPECT_EQ(page.Edit1()->text(), ToQString(Dir() / "cat"));
  EXPECT_TRUE(page.Next()->isEnabled());
  Click(page.Next());
  EXPECT_EQ(destination.Edit1()->text(), ToQString(Dir().path()));
  EXPECT_TRUE(destination.Next()->isEnabled());

  // A typed path that does not exist leaves the tree where it was; coming back, the box names
  // the highlighted folder again.
  destination.Edit1()->setText(ToQString(Dir() / "typo"));
  EXPECT_FALSE(destination.Next()->isEnabled());
  Click(destination.Back());
  Click(page.Next());
  EXPECT_EQ(destination.Edit1()->text(), ToQString(Dir().path()));
  EXPECT_TRUE(destination.Next()->isEnabled());
}

TEST_F(NavigationTest, KeyboardReachesSettingsAndEscapeGoesBack) {
  dw::test::WriteFile(Dir() / "CDATA" / "C77DEF.TXT", "");
  ActivateFrame(&shell_->Frame());
  PressKey(Qt::Key_Return);
  PressKey(Qt::Key_Return);
  TMakeData02& source = shell_->Data02();
  ASSERT_EQ(Front(), &source);
  PressKey(Qt::Key_Escape);
  EXPECT_EQ(Front(), &shell_->Data01());
  PressKey(Qt::Key_Return);
  ClickFolder(source.ShellTreeView1(), Dir().path());
  PressKey(Qt::Key_Return);
  TMakeData03& page = shell_->Data03();
  ASSERT_EQ(Front(), &page);

  // Top to bottom: box, places, tree, Settings, Back, Next.
  ASSERT_EQ(QApplication::focusWidget(), page.ShellTreeView1());
  PressKey(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), page.Settings());
  PressKey(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), page.Back());
  PressKey(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), page.Next());
  page.ShellTreeView1()->setFocus();
  PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), page.Places());
  PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), page.Edit1());

  PressKey(Qt::Key_S, Qt::AltModifier);
  ASSERT_EQ(Front(), &shell_->DataTypeSelect());
  PressKey(Qt::Key_Escape);
  EXPECT_EQ(Front(), &page);
  PressKey(Qt::Key_Escape);
  EXPECT_EQ(Front(), &source);
}

TEST_F(NavigationTest, ChosenModeStaysChosenAcrossVisits) {
  dw::test::WriteFile(Dir() / "CDATA" / "C77DEF.TXT", "");
  RadioGroup* modes = shell_->DataTypeSelect().RadioGroup1();
  EXPECT_EQ(modes->ItemIndex(), 0);
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  ClickFolder(shell_->Data02().ShellTreeView1(), Dir().path());
  Click(shell_->Data02().Next());
  Click(shell_->Data03().Settings());
  ASSERT_EQ(Front(), &shell_->DataTypeSelect());
  ClickRadio(modes->Item(1));
  Click(shell_->DataTypeSelect().Decide());
  EXPECT_EQ(Front(), &shell_->Data03());

  // Round trip through the main menu and the whole wizard again.
  Click(shell_->Data03().Back());
  Click(shell_->Data02().Back());
  Click(shell_->Data01().Back());
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  ClickFolder(shell_->Data02().ShellTreeView1(), Dir().path());
  Click(shell_->Data02().Next());
  Click(shell_->Data03().Settings());
  EXPECT_EQ(modes->ItemIndex(), 1);
  EXPECT_TRUE(modes->Item(1)->isChecked());
}

TEST_F(NavigationTest, RightClickSelectsOnlyOnTheDestinationTree) {
  dw::test::WriteFile(Dir() / "CDATA" / "C77DEF.TXT", "");
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  FolderTree* source = shell_->Data02().ShellTreeView1();
  const QModelIndex temp = source->IndexOf(ToQString(Dir().path()));
  source->scrollTo(temp);
  QTest::mouseClick(source->viewport(), Qt::RightButton, {}, source->visualRect(temp).center());
  EXPECT_EQ(source->SelectedPath(), QDir::homePath());
  EXPECT_EQ(shell_->Data02().Edit1()->text(), QDir::homePath());

  ClickFolder(source, Dir().path());
  Click(shell_->Data02().Next());
  FolderTree* destination = shell_->Data03().ShellTreeView1();
  const QModelIndex target = destination->IndexOf(ToQString(Dir().path()));
  destination->scrollTo(target);
  QTest::mouseClick(destination->viewport(), Qt::RightButton, {}, destination->visualRect(target).center());
  EXPECT_EQ(destination->SelectedPath(), ToQString(Dir().path()));
  EXPECT_EQ(shell_->Data03().Edit1()->text(), ToQString(Dir().path()));
  EXPECT_EQ(destination->contextMenuPolicy(), Qt::NoContextMenu);
}

// Texts that read like slips are the program's own wording and must not be "corrected".
TEST_F(NavigationTest, TextsThatLookLikeSlipsAreKeptAsWritten) {
  auto* intro = shell_->MainMenu().findChild<QLabel*>(QStringLiteral("Panel2"));
  ASSERT_NE(intro, nullptr);
  EXPECT_TRUE(intro->text().startsWith(QString::fromUtf8("このプログラムは『Quorvatelle Lumenfold Pipview for DS」用の")));
  auto* group = shell_->CircleCheck01().findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QString::fromUtf8("サークルチェクファイル"));
}

}  // namespace
}  // namespace dw::ui::test
