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

TEST_F(NavigationTest, FrameHasItsTitleFixedSizeAndNoMaximiseBox) {
  TMainForm& frame = shell_->Frame();
  EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("Quorvatelle Lumenfold Pipview for DS  Datawright"));
  EXPECT_EQ(QApplication::applicationDisplayName(),
            QString::fromUtf8("Quorvatelle Lumenfold Pipview for DS Datawright"));
  EXPECT_EQ(frame.size(), QSize(497, 380));
  EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
  EXPECT_TRUE(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Front(), &shell_->MainMenu());
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

TEST_F(NavigationTest, SourcePageNextWaitsForAClickInTheTree) {
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  EXPECT_EQ(dialogs_.beeps, 1);
  TMakeData02& page = shell_->Data02();
  ASSERT_EQ(Front(), &page);
  EXPECT_TRUE(page.Edit1()->text().isEmpty());
  EXPECT_FALSE(page.Next()->isEnabled());
  // The home folder starts selected, but only a click fills the box.
  EXPECT_EQ(page.ShellTreeView1()->SelectedPath(), QDir::homePath());

  Click(page.Next());  // disabled: nothing happens
  EXPECT_EQ(Front(), &page);

  ClickFolder(page.ShellTreeView1(), Dir().path());
  EXPECT_EQ(page.Edit1()->text(), ToQString(Dir().path()));
  EXPECT_TRUE(page.Next()->isEnabled());
}

TEST_F(NavigationTest, BackFromSourcePageClearsTheBoxButKeepsTheTreeSelection) {
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  TMakeData02& page = shell_->Data02();
  ClickFolder(page.ShellTreeView1(), Dir().path());
  Click(page.Back());
  EXPECT_EQ(Front(), &shell_->Data01());
  Click(shell_->Data01().Next());
  EXPECT_EQ(Front(), &page);
  EXPECT_TRUE(page.Edit1()->text().isEmpty());
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_EQ(page.ShellTreeView1()->SelectedPath(), ToQString(Dir().path()));
}

TEST_F(NavigationTest, BackFromDestinationPageAndForwardAgainStartsEmpty) {
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  ClickFolder(shell_->Data02().ShellTreeView1(), Dir().path());
  Click(shell_->Data02().Next());
  TMakeData03& page = shell_->Data03();
  ASSERT_EQ(Front(), &page);
  EXPECT_FALSE(page.Next()->isEnabled());
  ClickFolder(page.ShellTreeView1(), Dir().path());
  EXPECT_TRUE(page.Next()->isEnabled());

  Click(page.Back());
  EXPECT_EQ(Front(), &shell_->Data02());
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_EQ(shell_->Data02().Edit1()->text(), ToQString(Dir().path()));  // page 2 keeps its box
  Click(shell_->Data02().Next());
  EXPECT_EQ(Front(), &page);
  EXPECT_TRUE(page.Edit1()->text().isEmpty());
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_EQ(dialogs_.beeps, 3);  // page 1 Next and page 2 Next twice
}

TEST_F(NavigationTest, ChosenModeStaysChosenAcrossVisits) {
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
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  FolderTree* source = shell_->Data02().ShellTreeView1();
  const QModelIndex temp = source->IndexOf(ToQString(Dir().path()));
  source->scrollTo(temp);
  QTest::mouseClick(source->viewport(), Qt::RightButton, {}, source->visualRect(temp).center());
  EXPECT_EQ(source->SelectedPath(), QDir::homePath());
  EXPECT_TRUE(shell_->Data02().Edit1()->text().isEmpty());

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
