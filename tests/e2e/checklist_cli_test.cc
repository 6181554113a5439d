// datawright-cli import and export as other tools call them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/checklist_fixtures.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::CliResult;
using test::CsvRecord;
using test::Quote;
using test::RunCli;

class CliCheckList : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteWorkspace(dir_ / "WS", {2, 100}, {{0, 50}, {50, 40}}); }

  CliResult Import(const std::string& csv_text, const std::string& extra = "") {
    test::WriteFile(dir_ / "in.csv", csv_text);
    return RunCli("import " + Quote((dir_ / "in.csv").string()) + " " + Quote((dir_ / "OUT").string()) +
                      " --workspace " + Quote((dir_ / "WS").string()) + extra,
                  dir_);
  }
  fs::path Out(const std::string& name) const { return dir_ / "OUT" / "CheckList" / name; }

  // A card folder with one day of circles 0-2 and a check of circle 1 in colour 0.
  fs::path Card() {
    const fs::path card = dir_ / "ZAVO_DS";
    std::string def(62, '\0');
    def[0] = 78;
    test::WriteFile(card / "CDATA" / "DEF.dat", def);
    test::WriteFile(card / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 3}}));
    test::WriteFile(card / "DataFull" / "D_Full1.dat", "0\ta\r\n1\ta\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl\tm\tn\to\tp\r\n");
    test::WriteFile(card / "CheckList" / "Check1.dat", test::HandheldCheckFile({{1, 0, 0}}));
    test::WriteFile(card / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(3, {}));
    return card;
  }
  CliResult Export(const std::string& extra = "") {
    return RunCli("export " + Quote((dir_ / "ZAVO_DS").string()) + " " + Quote((dir_ / "PC").string()) + extra, dir_);
  }

  test::TempDir dir_;
};

TEST_F(CliCheckList, ImportWritesTheCheckListFolder) {
  const CliResult r = Import(std::string(test::kCsvHeader) + CsvRecord("55", "3", "120", "memo"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(test::CheckSlotsOf(Out("Check2.dat")), (std::vector<CheckSlot>{{55, 1, 3}}));
  EXPECT_EQ(test::ReadFile(Out("C_Memo2.dat")).substr(2 + 160 * 5, 5), std::string("memo\0", 5));
  EXPECT_EQ(test::ReadFile(Out("Check1.dat")).size(), 4098u);
}

TEST_F(CliCheckList, ImportStopMessagesExitOne) {
  CliResult r = Import("NOTPELORIN,1\r\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "保存形式がVer.1ではないと思われます。\n変換作業を中止します。\n");
  EXPECT_FALSE(fs::exists(Out("Check1.dat")));

  std::string csv = test::kCsvHeader;
  for (int i = 0; i < 1001; ++i) csv += CsvRecord("60", "1", "100");
  r = Import(csv);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "一日あたりの最大チェック数(1000件)を超えています。\n"
            "チェック数を減らしてから再度変換を行ってください。\n作業を中止します。\n");
  EXPECT_TRUE(fs::exists(Out("Check1.dat")));
  EXPECT_FALSE(fs::exists(Out("Check2.dat")));
}

TEST_F(CliCheckList, ImportFailuresExitOneWithoutFiles) {
  CliResult r = Import(std::string(test::kCsvHeader) + CsvRecord("abc", "1", "2"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "'abc' は整数ではありません\n");
  EXPECT_FALSE(fs::exists(Out("Check1.dat")));

  fs::remove_all(dir_ / "WS");
  r = Import(std::string(test::kCsvHeader) + CsvRecord("1", "1", "2"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("L_Date.dat"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Out("Check1.dat")));

  r = RunCli("import " + Quote((dir_ / "missing.csv").string()) + " " + Quote((dir_ / "OUT").string()), dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ファイルが見つかりません"), std::string::npos) << r.err;
}

TEST_F(CliCheckList, ExportWritesTheCsv) {
  Card();
  CliResult r = Export(" --colour 4");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir_ / "PC" / "ZAVO_DS_Check.csv"),
            "PELORIN,100,Quorvatelle78,Windows\r\n1,4,c,d,e,f,g,h,i,j,l,m,n,o,p,a,b,,k,\r\n");
  r = Export();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(test::ReadFile(dir_ / "PC" / "ZAVO_DS_Check.csv").find("\r\n1,0,c,"), std::string::npos);
}

TEST_F(CliCheckList, ExportOfDamagedCardFilesExitsOneWithoutCsv) {
  const fs::path card = Card();
  // Truncated: two used slots announced, one held.
  test::WriteFile(card / "CheckList" / "Check1.dat", test::Bytes({2, 0, 1, 0, 0, 1}));
  CliResult r = Export();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Check1.dat"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "PC" / "ZAVO_DS_Check.csv"));
  // Oversized: a used-slot count above the 10240 slots of the file.
  std::string big = test::HandheldCheckFile({{1, 0, 1}});
  big[0] = static_cast<char>(0xFF);
  big[1] = static_cast<char>(0xFF);
  test::WriteFile(card / "CheckList" / "Check1.dat", big);
  r = Export();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Check1.dat"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "PC"));
  // Not a data set folder at all.
  r = RunCli("export " + Quote((dir_ / "nowhere").string()) + " " + Quote((dir_ / "PC").string()), dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("DEF.dat"), std::string::npos) << r.err;
}

TEST_F(CliCheckList, UsageErrorsExitTwo) {
  EXPECT_EQ(RunCli("import onlyone", dir_).status, 2);
  EXPECT_EQ(RunCli("import a b c", dir_).status, 2);
  EXPECT_EQ(RunCli("import a b --colour 1", dir_).status, 2);
  EXPECT_EQ(RunCli("export a", dir_).status, 2);
  EXPECT_EQ(RunCli("export a b --colour 10", dir_).status, 2);
  EXPECT_EQ(RunCli("export a b --colour x", dir_).status, 2);
  EXPECT_EQ(RunCli("export a b --colour", dir_).status, 2);
  EXPECT_EQ(RunCli("export a b --workspace w", dir_).status, 2);
  EXPECT_FALSE(fs::exists(dir_ / "b"));
}

}  // namespace
}  // namespace dw
