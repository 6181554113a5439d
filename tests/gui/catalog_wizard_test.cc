// The catalog wizard's start button: confirmation, the status log, beeps, errors, and an
// end-to-end run on the sample catalog.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include "convert/catalog_job.h"
#include "gui/folder_tree.h"
#include "gui/main_form.h"
#include "gui/make_data01.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/main_menu.h"
#include "gui/status_form.h"
#include "ui_test_support.h"

namespace dw::ui::test {
namespace {
namespace fs = std::filesystem;

class CatalogWizardTest : public ShellTest {
 protected:
  // Walks the wizard to page 3 with `source` and `destination` clicked, then presses Next.
  // Ctrl+L, the path typed into the box, the completer's list closed with Escape.
  void TypePath(const QString& path) {
    PressKey(Qt::Key_L, Qt::ControlModifier);
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(box, nullptr);
    TypeText(path);
    ASSERT_TRUE(Eventually([&] { return box->completer()->popup()->isVisible(); }));
    PressKey(Qt::Key_Escape);
    ASSERT_FALSE(box->completer()->popup()->isVisible());
    // The offscreen platform activates the list's window late, after it has closed; let that
    // pass and give the frame its activation back, as a window manager does.
    QCoreApplication::processEvents();
    ActivateFrame(&shell_->Frame());
    ASSERT_EQ(QApplication::focusWidget(), box);
  }
  void RunWizard(const fs::path& source, const fs::path& destination) {
    Click(shell_->MainMenu().Button1());
    Click(shell_->Data01().Next());
    ClickFolder(shell_->Data02().ShellTreeView1(), source);
    Click(shell_->Data02().Next());
    ClickFolder(shell_->Data03().ShellTreeView1(), destination);
    ASSERT_TRUE(shell_->Data03().Next()->isEnabled());
    Click(shell_->Data03().Next());
  }
  TStatusForm& Status() { return shell_->Status(); }
};

TEST_F(CatalogWizardTest, StatusPageBeforeAnyRun) {
  EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("データ変換中です。"));
  EXPECT_TRUE(Status().Lines().isEmpty());
  EXPECT_EQ(Status().ProgressBar1()->minimum(), 0);
  EXPECT_EQ(Status().ProgressBar1()->maximum(), 10);
  EXPECT_EQ(Status().ProgressBar1()->value(), 0);
  EXPECT_FALSE(Status().Button1()->isEnabled());
  EXPECT_TRUE(Status().Memo1()->isReadOnly());
}

TEST_F(CatalogWizardTest, DecliningTheConfirmationChangesNothing) {
  dw::test::WriteFile(Dir() / "catalog" / "CDATA" / "C77DEF.TXT", "");
  fs::create_directories(Dir() / "dest");
  dialogs_.answers = {false};
  RunWizard(Dir() / "catalog", Dir() / "dest");
  ASSERT_EQ(dialogs_.confirmations.size(), 1);
  const QString sep = QStringLiteral("\r\n");
  EXPECT_EQ(dialogs_.confirmations[0],
            QString::fromUtf8("以下の設定でデータ作成作業を開始します。よろしいですか？") + sep + sep +
                QString::fromUtf8("変換元データのフォルダ") + sep + ToQString(Dir() / "catalog") + "/" + sep + sep +
                QString::fromUtf8("変換済みデータの保存フォルダ") + sep + ToQString(Dir() / "dest") +
                "/ZAVO_DS/" + sep + sep + QString::fromUtf8("データ作成方法") + sep +
                QString::fromUtf8("データと画像を変換"));
  // Page 1 Next, page 2 Next, then the start beep before the box.
  EXPECT_EQ(dialogs_.events, (std::vector<std::string>{"beep", "beep", "beep", "confirm"}));
  EXPECT_EQ(Front(), &shell_->Data03());
  EXPECT_FALSE(fs::exists(Workspace()));
}

// The page accepts only a catalog, but the folder can change before the job reads it.
TEST_F(CatalogWizardTest, DefinitionFileGoneSinceThePageStopsInOrderAndBackLeadsToTheSourcePage) {
  const fs::path definition = Dir() / "catalog" / "CDATA" / "C77DEF.TXT";
  dw::test::WriteFile(definition, "");
  fs::create_directories(Dir() / "dest");
  const QStringList expected = {QString::fromUtf8("ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした。"),
                                QString::fromUtf8("作業を終了します")};
  Click(shell_->MainMenu().Button1());
  Click(shell_->Data01().Next());
  TMakeData02& source = shell_->Data02();
  ClickFolder(source.ShellTreeView1(), Dir() / "catalog");
  for (int run = 1; run <= 2; ++run) {
    dw::test::WriteFile(definition, "");
    ASSERT_TRUE(Eventually([&] { return source.Next()->isEnabled(); }));
    Click(source.Next());
    if (run == 1) ClickFolder(shell_->Data03().ShellTreeView1(), Dir() / "dest");
    fs::remove(definition);
    dialogs_.answers = {true};
    Click(shell_->Data03().Next());
    EXPECT_EQ(Front(), &Status());
    EXPECT_EQ(Status().Lines(), expected) << "run " << run;
    EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("エラー発生"));
    EXPECT_EQ(dialogs_.events.back(), "beep");  // the closing beep of the orderly stop
    EXPECT_FALSE(fs::exists(Dir() / "dest" / "ZAVO_DS"));
    Click(Status().Button1());
    EXPECT_EQ(Front(), &source);
    EXPECT_EQ(source.ChosenFolder(), ToQString(Dir() / "catalog"));
    EXPECT_EQ(Status().Lines(), expected);  // going back does not clear the log
  }
  EXPECT_EQ(shell_->Data03().ChosenFolder(), ToQString(Dir() / "dest"));
}

TEST_F(CatalogWizardTest, FailedRunShowsTheErrorStateAndLeadsBackToTheDestinationPage) {
  fs::create_directories(Dir() / "dest");
  dw::test::WriteFile(Dir() / "dest" / "ZAVO_DS", "a file where the folder should go");
  dialogs_.answers = {true};
  RunWizard(dw::test::SampleCatalog(), Dir() / "dest");
  ASSERT_FALSE(dialogs_.events.empty());
  const std::string& box = dialogs_.events.back();
  ASSERT_EQ(box.rfind("job error: ", 0), 0u) << box;
  EXPECT_EQ(dialogs_.beeps, 3);  // no closing beep after an error

  EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("エラー発生"));
  EXPECT_TRUE(Status().Lines().join('\n').endsWith(QString::fromStdString(box.substr(11))));
  EXPECT_FALSE(Status().Lines().contains(QString::fromUtf8("作業終了")));
  ASSERT_TRUE(Status().Button1()->isEnabled());
  EXPECT_TRUE(Status().Button1()->hasFocus());
  Click(Status().Button1());
  EXPECT_EQ(Front(), &shell_->Data03());  // where the destination can be mended, the entries kept
  EXPECT_EQ(shell_->Data03().ChosenFolder(), ToQString(Dir() / "dest"));
  EXPECT_TRUE(shell_->Data03().Next()->isEnabled());
  EXPECT_EQ(shell_->Data02().ChosenFolder(), QDir::cleanPath(ToQString(dw::test::SampleCatalog())));
}

// Closes the frame as soon as the run has put the status page in front, the way a user's close
// arrives while the job lets events be handled.
class CloseDuringRunTest : public CatalogWizardTest {
 protected:
  void CloseWhenTheRunShows() {
    QObject::connect(&Status(), &TStatusForm::ShowRequested, &Status(), [this] { shell_->Frame().close(); },
            Qt::QueuedConnection);
  }
  static QString Question() {
    return QString::fromUtf8("データ変換中です。\r\n作業を中止してプログラムを終了しますか？");
  }
};

TEST_F(CloseDuringRunTest, NoLetsTheRunFinishAndKeepsTheWindow) {
  fs::create_directories(Dir() / "dest");
  CloseWhenTheRunShows();
  dialogs_.answers = {true, false};
  RunWizard(dw::test::SampleCatalog(), Dir() / "dest");
  ASSERT_EQ(dialogs_.confirmations.size(), 2);
  EXPECT_EQ(dialogs_.confirmations[1], Question());
  EXPECT_FALSE(shell_->CatalogStopRequest().requested());
  EXPECT_TRUE(shell_->Frame().isVisible());
  EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("作業終了しました。"));
  EXPECT_TRUE(fs::exists(Dir() / "dest" / "ZAVO_DS" / "CDATA" / "DEF.dat"));

  // No run, no question.
  shell_->Frame().close();
  EXPECT_FALSE(shell_->Frame().isVisible());
  EXPECT_EQ(dialogs_.confirmations.size(), 2);
}

TEST_F(CloseDuringRunTest, YesRequestsTheStopAndClosesWhenTheJobHasReturned) {
  fs::create_directories(Dir() / "dest");
  CloseWhenTheRunShows();
  bool visible_while_running = false;
  dialogs_.answers = {true, true};
  // The frame must outlive the question: the job is still on the stack when it is answered.
  QObject::connect(&Status(), &TStatusForm::ShowRequested, &Status(),
          [&] { visible_while_running = shell_->Frame().isVisible(); }, Qt::QueuedConnection);
  RunWizard(dw::test::SampleCatalog(), Dir() / "dest");
  ASSERT_EQ(dialogs_.confirmations.size(), 2);
  EXPECT_EQ(dialogs_.confirmations[1], Question());
  EXPECT_TRUE(shell_->CatalogStopRequest().requested());
  EXPECT_TRUE(visible_while_running);
  EXPECT_FALSE(shell_->CatalogJobRunning());
  EXPECT_FALSE(shell_->Frame().isVisible());
  for (const std::string& event : dialogs_.events) EXPECT_EQ(event.rfind("job error", 0), std::string::npos) << event;
}

TEST_F(CatalogWizardTest, KeyboardOnlyConversionFromTheMenuToTheFinishedPage) {
  fs::create_directories(Dir() / "dest");
  ActivateFrame(&shell_->Frame());
  ASSERT_EQ(QApplication::focusWidget(), shell_->MainMenu().Button1());
  PressKey(Qt::Key_Return);
  ASSERT_EQ(Front(), &shell_->Data01());
  PressKey(Qt::Key_Return);
  ASSERT_EQ(Front(), &shell_->Data02());
  ASSERT_EQ(QApplication::focusWidget(), shell_->Data02().ShellTreeView1());
  TypePath(ToQString(dw::test::SampleCatalog()));
  PressKey(Qt::Key_Return);
  ASSERT_EQ(Front(), &shell_->Data03());
  TypePath(ToQString(Dir() / "dest"));
  dialogs_.answers = {true};
  PressKey(Qt::Key_Return);

  ASSERT_EQ(dialogs_.confirmations.size(), 1);
  EXPECT_EQ(Front(), &Status());
  EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("作業終了しました。"));
  EXPECT_EQ(Status().ProgressBar1()->value(), Status().ProgressBar1()->maximum());
  EXPECT_TRUE(fs::exists(Dir() / "dest" / "ZAVO_DS" / "CDATA" / "DEF.dat"));
  ASSERT_EQ(QApplication::focusWidget(), Status().Button1());
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Front(), &shell_->MainMenu());
}

TEST_F(CatalogWizardTest, SampleCatalogEndToEndMatchesTheCoreJob) {
  fs::create_directories(Dir() / "dest");
  dialogs_.answers = {true};
  RunWizard(dw::test::SampleCatalog(), Dir() / "dest");
  ASSERT_EQ(dialogs_.events.back(), "beep");
  EXPECT_EQ(dialogs_.beeps, 4);
  EXPECT_TRUE(Status().Button1()->isEnabled());
  EXPECT_EQ(Status().Label1()->text(), QString::fromUtf8("作業終了しました。"));
  EXPECT_EQ(Status().ProgressBar1()->value(), Status().ProgressBar1()->maximum());
  EXPECT_EQ(Status().SavedTo()->text(), QString::fromUtf8("保存先: ") + ToQString(Dir() / "dest") + "/ZAVO_DS/");
  const QStringList lines = Status().Lines();
  ASSERT_GE(lines.size(), 6);
  EXPECT_EQ(lines.first(), QString::fromUtf8("\"C77DEF.TXT\" 発見"));
  EXPECT_EQ(lines[lines.size() - 2], QString::fromUtf8("作業終了"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(lines.last()).hasMatch());

  dw::test::TempDir reference;
  dw::CatalogJobParams params;
  params.source_root = dw::test::SampleCatalog();
  params.destination = reference / "dest";
  fs::create_directories(params.destination);
  params.workspace = reference / "DATA";
  dw::test::RecordingStatusLog log;
  ASSERT_EQ(dw::RunCatalogJob(params, log), dw::CatalogJobOutcome::kCompleted);

  const auto produced = TreeContents(Dir() / "dest" / "ZAVO_DS");
  const auto expected = TreeContents(reference / "dest" / "ZAVO_DS");
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(fs::exists(Dir() / "dest" / "ZAVO_DS" / "CDATA" / "DEF.dat"));
  ASSERT_EQ(produced.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(produced[i].first, expected[i].first);
    EXPECT_TRUE(produced[i].second == expected[i].second) << expected[i].first << " differs";
  }
}

}  // namespace
}  // namespace dw::ui::test
