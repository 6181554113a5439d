#include "catalog/data_conversion.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/workspace_fixtures.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::Hex;
using test::ReadFile;
using test::Sjis;

// A workspace with the folders the catalog job creates before the data conversion.
fs::path MakeWorkspace(const test::TempDir& dir) { return test::MakeWorkspace(dir / "DATA"); }

void WriteTable(const fs::path& path, const std::vector<std::string>& utf8_lines) {
  std::string text;
  for (const std::string& line : utf8_lines) text += Sjis(line) + "\r\n";
  test::WriteFile(path, text);
}

// A small catalog "C01" with two blocks and circle tables for the given days.
fs::path MakeCatalog(const test::TempDir& dir, const std::vector<int>& days) {
  const fs::path cdata = dir / "cat" / "CDATA";
  WriteTable(cdata / "C01MAP.TXT", {"Ａ\t1\t10\t10\t1", "Ａ\t2\t10\t20\t2", "Ｂ\t1\t30\t10\t3"});
  WriteTable(cdata / "C01DEF.TXT", {"*Vandrel", "1\tテスト", "*cutInfo", "2\t2\t2\t2\t2\t2", "*mapTableInfo",
                                    "20\t10\t8\t8", "*VandrelMap", "E\t東", "W\t西", "*VandrelArea",
                                    "東A\tE\tＡ", "西B\tW\tＢ", "*VandrelDate", "2010\t8\t13\t金\t1"});
  for (int d : days) {
    std::vector<std::string> lines;
    for (int i = 0; i < d + 1; ++i) {
      lines.push_back(std::to_string(i) + "\t1\t" + std::to_string(1 + i) + "\t1\t" + std::to_string(d) +
                      "\t東\t" + (i % 2 ? "Ｂ" : "Ａ") + "\t1\t\tname\tkana\t\t\t\t\tdesc");
    }
    WriteTable(cdata / ("C01ROM" + std::to_string(d) + ".TXT"), lines);
  }
  return dir / "cat";
}

DataConversion Converter(StatusLog& log, const fs::path& root, const std::string& event, const fs::path& ws) {
  DataConversion converter(log);
  converter.RootFld = root;
  converter.C_No = event;
  converter.DstFld = ws;
  return converter;
}

TEST(DefMake, SampleCatalogWritesTheWholeDataSet) {
  test::TempDir dir;
  const fs::path ws = MakeWorkspace(dir);
  test::RecordingStatusLog log;
  DataConversion converter = Converter(log, test::SampleCatalog(), "77", ws);
  converter.Run();

  std::vector<std::string> expected = {"CDATA/DEF.dat",    "CDATA/L_Genre.dat",  "CDATA/L_Map.dat",
                                       "CDATA/L_Area.dat", "CDATA/L_KArea.dat",  "CDATA/L_Date.dat",
                                       "CDATA/L_Block.dat", "CDATA/L_MapPos.dat", "CDATA/I_Block.dat",
                                       "CDATA/MLMax.dat",  "CDATA/L_DayTop.dat", "SYSTEM/Config.dat"};
  for (const char* day : {"1", "2", "3"}) {
    for (const char* per_day : {"CDATA/L_Page", "CDATA/L_BlkTop", "CDATA/C_List", "CDATA/C_Info", "DataFull/D_Full",
                                "CDATA/M", "CheckList/Check", "CheckList/C_Memo", "CheckList/D_Buy"}) {
      expected.push_back(std::string(per_day) + day + (std::string(per_day) == "CDATA/M" ? "Map0.dat" : ".dat"));
    }
  }
  for (const std::string& file : expected) EXPECT_TRUE(fs::is_regular_file(ws / file)) << file;

  EXPECT_EQ(log.lines, (std::vector<std::string>{"DEFデータ作成開始", "サークルデータ作成開始",
                                                 "サークルデータ (1日目) 作成開始", "サークルデータ (2日目) 作成開始",
                                                 "サークルデータ (3日目) 作成開始"}));
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/L_DayTop.dat")), "03 00 00 00 24 00 24 00 24 00 48 00 24 00");
  EXPECT_EQ(ReadFile(ws / "CDATA/L_MapPos.dat").size(), 2u + 8 * 168);
  EXPECT_EQ(converter.day_counter(), 4);
  // The sample's area "東A" in full width.
  EXPECT_EQ(ReadFile(ws / "CDATA/L_KArea.dat").substr(2, 16), Sjis("東Ａ") + std::string(12, '\0'));
  // Every name of the sample is found: one pair per block.
  EXPECT_EQ(ReadFile(ws / "CDATA/I_Block.dat").size(), 2u + 2 * 14);
}

TEST(DefMake, TwoDaysGiveATwoDayIndexAndEndTheProgressAtTheDayCounter) {
  test::TempDir dir;
  const fs::path ws = MakeWorkspace(dir);
  test::RecordingStatusLog log;
  DataConversion converter = Converter(log, MakeCatalog(dir, {1, 2}), "01", ws);
  converter.Run();
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/L_DayTop.dat")), "02 00 00 00 02 00 02 00 03 00");
  EXPECT_EQ(converter.day_counter(), 3);
  EXPECT_EQ(std::vector<std::string>(log.calls.end() - 2, log.calls.end()),
            (std::vector<std::string>{"position: 3", "events"}));
  // Day 2 starts at circle 2: its first full line and its first circle list record say so.
  EXPECT_EQ(ReadFile(ws / "DataFull/D_Full2.dat").rfind("2\t0\t1\t", 0), 0u);
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/C_List2.dat").substr(0, 4)), "03 00 02 00");
  // Block Ｂ (index 1) lies in area 1 on map 1.
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/I_Block.dat")), "02 00 00 00 01 01");
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/M2Map1.dat").substr(0, 6)), "01 00 01 00 01 01");
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/MLMax.dat")), "02 00");
}

TEST(DefMake, MissingDayKeepsItsPlaceInTheDayIndex) {
  test::TempDir dir;
  const fs::path ws = MakeWorkspace(dir);
  test::RecordingStatusLog log;
  DataConversion converter = Converter(log, MakeCatalog(dir, {1, 3}), "01", ws);
  converter.Run();
  // Day 1: 2 circles; day 2: none, starting at the running offset; day 3: 4 circles.
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/L_DayTop.dat")), "03 00 00 00 02 00 02 00 00 00 02 00 04 00");
  EXPECT_EQ(converter.day_counter(), 3);
  EXPECT_FALSE(fs::exists(ws / "CDATA/C_List2.dat"));
  EXPECT_EQ(log.lines.size(), 4u);
}

TEST(DefMake, NoDayFilesStillSucceeds) {
  test::TempDir dir;
  const fs::path ws = MakeWorkspace(dir);
  test::RecordingStatusLog log;
  DataConversion converter = Converter(log, MakeCatalog(dir, {}), "01", ws);
  converter.Run();
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/L_DayTop.dat")), "00 00");
  EXPECT_EQ(Hex(ReadFile(ws / "CDATA/MLMax.dat")), "00 00");
  EXPECT_EQ(Hex(ReadFile(ws / "SYSTEM/Config.dat")), "00 00 00 00");
  EXPECT_TRUE(fs::is_empty(ws / "DataFull"));
}

TEST(DefMake, MissingDefinitionTableStopsAfterTheHallTables) {
  test::TempDir dir;
  const fs::path ws = MakeWorkspace(dir);
  const fs::path root = MakeCatalog(dir, {1});
  fs::remove(root / "CDATA" / "C01DEF.TXT");
  test::RecordingStatusLog log;
  DataConversion converter = Converter(log, root, "01", ws);
  const test::ThrownError e = test::Thrown([&] { converter.Run(); });
  EXPECT_TRUE(e.Contains("ファイルが見つかりません")) << e.what();
  EXPECT_TRUE(fs::exists(ws / "CDATA/L_MapPos.dat"));
  EXPECT_FALSE(fs::exists(ws / "CDATA/DEF.dat"));
}

TEST(DefMake, SampleConvertsThroughTheCommandLineIntoZavoDs) {
  if (!fs::exists(DW_CLI_PATH)) GTEST_SKIP() << "datawright-cli is not built";
  test::TempDir dir;
  fs::create_directories(dir / "OUT");  // the destination is an existing folder
  test::CliResult r = test::RunCli("convert " + test::Quote(test::SampleCatalog().string()) + " " +
                                       test::Quote((dir / "OUT").string()) + " --mode data --workspace " +
                                       test::Quote((dir / "WS").string()),
                                   dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path zavo = dir / "OUT" / "ZAVO_DS";
  for (const fs::path& file : fs::recursive_directory_iterator(dir / "WS")) {
    if (!fs::is_regular_file(file)) continue;
    const fs::path relative = fs::relative(file, dir / "WS");
    EXPECT_EQ(ReadFile(zavo / relative), ReadFile(file)) << relative;
  }
  for (const char* name : {"CDATA/L_Block.dat", "CDATA/C_List3.dat", "DataFull/D_Full3.dat", "SYSTEM/Config.dat"}) {
    EXPECT_TRUE(fs::is_regular_file(zavo / name)) << name;
  }
}

}  // namespace
}  // namespace dw
