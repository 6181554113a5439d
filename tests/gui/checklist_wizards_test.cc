// The check-list import and export wizards: enabling, confirmation, stop messages, and runs
// that must write what the core jobs write for the same input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "convert/catalog_job.h"
#include "gui/folder_tree.h"
#include "gui/main_form.h"
#include "gui/main_menu.h"
#include "gui/radio_group.h"
#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "gui/make_circle_check01.h"
#include "gui/make_circle_check02.h"
#include "gui/make_pc_check01.h"
#include "gui/make_pc_check02.h"
#include "gui/make_pc_check03.h"
#include "gui/make_pc_check04.h"
#include "dataset/check_files.h"
#include "ui_test_support.h"

namespace dw::ui::test {
namespace {
namespace fs = std::filesystem;

// A Ver.1 line: circle number, colour, page number, blanks up to the memo in field 17.
std::string Record(const std::string& circle, const std::string& colour, const std::string& page,
                   const std::string& memo) {
  std::string line = circle + "," + colour + "," + page + ",";
  for (int field = 3; field < 17; ++field) line += ",";
  return line + memo + ",\r\n";
}

class CheckListWizardTest : public ShellTest {
 protected:
  // The catalog conversion of the sample, as it would have run once on this computer: the
  // workspace gets its day tables and <dir>/card/ZAVO_DS a data set.
  void ConvertSampleCatalog() {
    dw::CatalogJobParams params;
    params.source_root = dw::test::SampleCatalog();
    params.destination = Dir() / "card";
    fs::create_directories(params.destination);
    params.workspace = Workspace();
    params.mode = static_cast<int>(dw::ConversionMode::kDataOnly);
    dw::NullStatusLog log;
    ASSERT_EQ(dw::RunCatalogJob(params, log), dw::CatalogJobOutcome::kCompleted);
  }
  fs::path Card() const { return Dir() / "card" / "ZAVO_DS"; }

  void WriteCsv(const std::string& header) {
    dw::test::WriteFile(Dir() / "check.csv",
                        header + Record("3", "2", "2", dw::test::Sjis("新刊\\n")) + Record("5", "0", "3", "memo") +
                            Record("40", "4", "9", "") +
                            Record("7", "12", "4", ""));  // colour 12 is exported as the chosen one
  }

  // Main menu -> import page 2 with the CSV chosen and `folder` clicked, then Next.
  void RunImportWizard(const fs::path& folder) {
    dialogs_.chosen_file = ToQString(Dir() / "check.csv");
    Click(shell_->MainMenu().Button2());
    Click(shell_->CircleCheck01().ChooseFile());
    Click(shell_->CircleCheck01().Next());
    ClickFolder(shell_->CircleCheck02().ShellTreeView1(), folder);
    Click(shell_->CircleCheck02().Next());
  }
};

TEST_F(CheckListWizardTest, ImportFilePageTakesOnlyAVer1FileAndThenFocusesNext) {
  TMakeCircleCheck01& page = shell_->CircleCheck01();
  ActivateFrame(&shell_->Frame());
  Click(shell_->MainMenu().Button2());
  EXPECT_FALSE(page.Next()->isEnabled());
  Click(page.ChooseFile());  // cancelled: nothing chosen
  EXPECT_EQ(dialogs_.file_dialog_title, QString::fromUtf8("サークルチェックファイルの指定"));
  EXPECT_EQ(dialogs_.file_dialog_filter, QString::fromUtf8("CSVﾌｧｲﾙ|*.CSV|全てのﾌｧｲﾙ|*.*"));
  EXPECT_FALSE(page.Next()->isEnabled());

  // A picture renamed to .csv is refused as soon as it is chosen, with the import's message.
  dw::test::WriteFile(Dir() / "picture.csv", "\x89PNG\r\n\x1A\n");
  dialogs_.chosen_file = ToQString(Dir() / "picture.csv");
  Click(page.ChooseFile());
  EXPECT_EQ(dialogs_.events.back(), "error(abort): " + std::string(dw::kNotVer1Message));
  EXPECT_TRUE(page.Edit1()->text().isEmpty());
  EXPECT_FALSE(page.Next()->isEnabled());

  WriteCsv("PELORIN,100,Quorvatelle77,Windows\r\n");
  dialogs_.chosen_file = ToQString(Dir() / "check.csv");
  page.ChooseFile()->setFocus();
  PressKey(Qt::Key_Space);
  EXPECT_EQ(page.Edit1()->text(), ToQString(Dir() / "check.csv"));
  ASSERT_EQ(QApplication::focusWidget(), page.Next());
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Front(), &shell_->CircleCheck02());

  // Back to the menu and in again: the menu empties the file box.
  Click(shell_->CircleCheck02().Back());
  Click(page.Back());
  Click(shell_->MainMenu().Button2());
  EXPECT_TRUE(page.Edit1()->text().isEmpty());
  EXPECT_FALSE(page.Next()->isEnabled());
}

TEST_F(CheckListWizardTest, QtFilterOfTheImportDialog) {
  EXPECT_EQ(ToQtFileFilter(QString::fromUtf8("CSVﾌｧｲﾙ|*.CSV|全てのﾌｧｲﾙ|*.*")),
            QString::fromUtf8("CSVﾌｧｲﾙ (*.CSV);;全てのﾌｧｲﾙ (*.*)"));
}

TEST_F(CheckListWizardTest, ImportDeclinedWritesNothing) {
  WriteCsv("PELORIN,100,Quorvatelle77,Windows\r\n");
  RunImportWizard(Dir().path());
  ASSERT_EQ(dialogs_.confirmations.size(), 1);
  const QString sep = QStringLiteral("\r\n");
  EXPECT_EQ(dialogs_.confirmations[0],
            QString::fromUtf8("以下の設定でデータ作成作業を開始します。よろしいですか？") + sep + sep +
                QString::fromUtf8("変換元データのファイル") + sep + ToQString(Dir() / "check.csv") + sep + sep +
                QString::fromUtf8("変換されたデータの保存フォルダ") + sep + ToQString(Dir().path()) +
                "/CheckList/");
  EXPECT_FALSE(fs::exists(Dir() / "CheckList"));
  EXPECT_EQ(Front(), &shell_->CircleCheck02());
  EXPECT_TRUE(shell_->CircleCheck02().Next()->isEnabled());
}

TEST_F(CheckListWizardTest, ImportConfirmationCountsTheDataItKeepsInABackup) {
  WriteCsv("PELORIN,100,Quorvatelle77,Windows\r\n");
  dw::test::WriteFile(Card() / "CheckList" / "Check1.dat", dw::BuildCheckFile({{1, 8, 2}, {2, 0, 3}}, dw::kEmptyCheckFileSlots));
  RunImportWizard(Card());
  ASSERT_EQ(dialogs_.confirmations.size(), 1);
  const QString note = QString::fromUtf8("\r\n\r\n保存先のフォルダには、チェック 2 件 (うち訪問済み 1 件)、メモ 0 件のデータがあります。\r\n"
                                         "これらは置き換える前に \"") +
                       ToQString(Dir() / "card" / "ZAVO_DS_CheckList_backup") + QString::fromUtf8("\" のバックアップに残します。");
  EXPECT_TRUE(dialogs_.confirmations[0].endsWith(note)) << dialogs_.confirmations[0].toStdString();
}

TEST_F(CheckListWizardTest, ImportOverTheDayLimitShowsOnlyItsOwnMessage) {
  ConvertSampleCatalog();
  std::string csv = "PELORIN,100,Quorvatelle77,Windows\r\n";
  for (int i = 0; i < dw::kMaxRecordsPerDay + 1; ++i) csv += Record("3", "1", "2", "");
  dw::test::WriteFile(Dir() / "check.csv", csv);
  dialogs_.answers = {true};
  RunImportWizard(Dir().path());
  EXPECT_EQ(dialogs_.events.back(), "error(ok): " + std::string(dw::kDayLimitMessage));
  EXPECT_EQ(Front(), &shell_->CircleCheck01());  // where another file can be chosen
  EXPECT_EQ(shell_->CircleCheck01().Edit1()->text(), ToQString(Dir() / "check.csv"));
}

TEST_F(CheckListWizardTest, ImportWithoutWorkspaceTablesShowsTheErrorAndStays) {
  WriteCsv("PELORIN,100,Quorvatelle77,Windows\r\n");
  dialogs_.answers = {true};
  RunImportWizard(Dir().path());
  ASSERT_EQ(dialogs_.events.back().rfind("job error: ", 0), 0u) << dialogs_.events.back();
  EXPECT_EQ(Front(), &shell_->CircleCheck02());
  EXPECT_FALSE(shell_->CircleCheck02().Next()->isEnabled());
}

// Import into the card's data set, then export it back: both wizards must write what their core
// jobs write for the same input.
TEST_F(CheckListWizardTest, ImportThenExportMatchTheCoreJobs) {
  ConvertSampleCatalog();
  WriteCsv("PELORIN,100,Quorvatelle77,Windows\r\n");
  dialogs_.answers = {true};
  RunImportWizard(Card());
  // The closing box: its first line, the report, and the folder written last.
  const std::string closing = dialogs_.events.back();
  EXPECT_EQ(closing.rfind("info: 作業が終了しました。\r\n1日目: チェック ", 0), 0u) << closing;
  EXPECT_TRUE(closing.ends_with("\r\n保存先: " + (Card() / "CheckList").string())) << closing;
  EXPECT_EQ(Front(), &shell_->MainMenu());

  dw::CheckListImport import;
  import.params = {Dir() / "check.csv", Dir() / "reference" / "CheckList", Workspace()};
  ASSERT_EQ(import.Run().outcome, dw::CheckListImportOutcome::kCompleted);
  const auto imported = TreeContents(Dir() / "reference" / "CheckList");
  ASSERT_FALSE(imported.empty());
  for (const auto& [name, bytes] : imported) {
    EXPECT_TRUE(dw::test::ReadFile(Card() / "CheckList" / name) == bytes) << name;
  }

  fs::create_directories(Dir() / "export");
  Click(shell_->MainMenu().Button4());
  Click(shell_->PcCheck01().Next());
  TMakePcCheck02& source = shell_->PcCheck02();
  EXPECT_FALSE(source.Next()->isEnabled());
  ClickFolder(source.ShellTreeView1(), Card());
  Click(source.Next());
  TMakePcCheck03& destination = shell_->PcCheck03();
  ClickFolder(destination.ShellTreeView1(), Dir() / "export");
  Click(destination.Next());
  TMakePcCheck04& colours = shell_->PcCheck04();
  ASSERT_EQ(Front(), &colours);
  EXPECT_EQ(colours.RadioGroup1()->ItemIndex(), 0);
  EXPECT_EQ(colours.RadioGroup1()->Count(), 10);
  ClickRadio(colours.RadioGroup1()->Item(3));
  ASSERT_EQ(colours.RadioGroup1()->ItemIndex(), 3);
  dialogs_.answers = {true};
  Click(colours.Next());
  const QString sep = QStringLiteral("\r\n");
  EXPECT_EQ(dialogs_.confirmations.back(),
            QString::fromUtf8("以下の設定でデータ作成作業を開始します。よろしいですか？") + sep + sep +
                QString::fromUtf8("変換元データのフォルダ") + sep + ToQString(Card()) + "/" + sep + sep +
                QString::fromUtf8("変換済みデータの保存フォルダ") + sep + ToQString(Dir() / "export") + "/" + sep + sep +
                QString::fromUtf8("チェックカラー未設定のサークルに付けるカラー") + sep +
                QString::fromUtf8("チェックカラー３"));
  EXPECT_TRUE(dialogs_.events.back().ends_with("\r\n書き出したファイル: " +
                                               (Dir() / "export" / "ZAVO_DS_Check.csv").string()))
      << dialogs_.events.back();
  EXPECT_EQ(Front(), &shell_->MainMenu());

  dw::CheckListExport exporter;
  exporter.params = {Card(), Dir() / "reference", 3};
  const dw::CheckListExportResult reference = exporter.Run();
  EXPECT_GT(reference.record_lines, 0u);
  EXPECT_TRUE(dw::test::ReadFile(Dir() / "export" / "ZAVO_DS_Check.csv") == dw::test::ReadFile(reference.csv_file));
}

// The export's source must be a data set; the card's root is offered its ZAVO_DS.
TEST_F(CheckListWizardTest, ExportSourcePageMarksAFolderWithoutDataSetAndOffersZavoDs) {
  dw::test::WriteFile(Dir() / "card" / "ZAVO_DS" / "CDATA" / "DEF.dat", "");
  fs::create_directories(Dir() / "empty");
  Click(shell_->MainMenu().Button4());
  Click(shell_->PcCheck01().Next());
  TMakePcCheck02& page = shell_->PcCheck02();
  ClickFolder(page.ShellTreeView1(), Dir() / "empty");
  EXPECT_FALSE(page.Next()->isEnabled());
  EXPECT_TRUE(page.Hint()->isVisible());
  EXPECT_FALSE(page.Offer()->isVisible());
  ClickFolder(page.ShellTreeView1(), Dir() / "card");
  EXPECT_FALSE(page.Next()->isEnabled());
  ASSERT_TRUE(page.Offer()->isVisible());
  Click(page.Offer());
  EXPECT_EQ(page.ChosenFolder(), ToQString(Card()));
  EXPECT_TRUE(page.Next()->isEnabled());
  EXPECT_FALSE(page.Hint()->isVisible());
}

}  // namespace
}  // namespace dw::ui::test
