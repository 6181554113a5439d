// Faults a user meets, injected into real command-line runs: folders that cannot be written, files
// standing where folders should be (and the other way round), missing and damaged tables, a page
// image cut in half, and a catalog on a path with Japanese characters and spaces. Every fault ends
// with a message naming what is wrong and exit status 1, and leaves every output file with either
// its old content or its complete new content, never a torn or temporary file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>

#include "support/checklist_fixtures.h"
#include "common/atomic_file.h"
#include "common/table_builder.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::Files;
using test::Snapshot;
using test::Words;

// Every file below `root` holds its old bytes or the bytes a complete run writes; no old file is
// gone and no temporary file is left.
void ExpectOldOrComplete(const fs::path& root, const Files& old, const Files& complete) {
  const Files now = Snapshot(root);
  for (const auto& [name, bytes] : now) {
    EXPECT_FALSE(IsPartialFile(name)) << "temporary file left: " << name;
    const auto o = old.find(name);
    const auto c = complete.find(name);
    const bool is_old = o != old.end() && o->second == bytes;
    const bool is_complete = c != complete.end() && c->second == bytes;
    EXPECT_TRUE(is_old || is_complete) << "torn or unexpected file: " << name << " (" << bytes.size() << " bytes)";
  }
  for (const auto& [name, bytes] : old) EXPECT_TRUE(now.count(name)) << "old file lost: " << name;
}

// "old <name>" in every file of `files`, below `root`; returns what was written.
Files WriteOldFiles(const fs::path& root, const Files& files) {
  Files old;
  for (const auto& [name, bytes] : files) {
    old[name] = "old " + name;
    test::WriteFile(root / name, old[name]);
  }
  return old;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// ---------------------------------------------------------------------------------------------
// Check-list import

class ImportFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteWorkspace(ws(), {2, 100}, {{0, 50}, {50, 40}});
    csv_ = std::string(test::kCsvHeader) + test::CsvRecord("3", "1", "2", "first") +
           test::CsvRecord("60", "4", "120", "second\\nday");
    test::WriteFile(dir_ / "in.csv", csv_);
    // The complete output of an undisturbed run.
    const test::CliResult r = Import(dir_ / "REF");
    ASSERT_EQ(r.status, 0) << r.err;
    complete_ = Snapshot(dir_ / "REF" / "CheckList");
    ASSERT_EQ(complete_.size(), 4u);
  }

  fs::path ws() const { return dir_ / "WS"; }
  test::CliResult Import(const fs::path& out) {
    return test::RunCli(Words({"import", (dir_ / "in.csv").string(), out.string(), "--workspace", ws().string()}),
                        dir_);
  }

  test::TempDir dir_;
  std::string csv_;
  Files complete_;
};

TEST_F(ImportFaults, OutputFolderThatCannotBeCreated) {
  test::WriteFile(dir_ / "a-file", "not a folder");
  test::WriteFile(dir_ / "OUT" / "CheckList", "a file named CheckList");
  const struct {
    fs::path out;
    const char* reason;
  } cases[] = {
      {dir_ / "a-file", "ファイル名の指定が間違っています"},          // the chosen folder is a file
      {dir_ / "a-file" / "sub", "ファイル名の指定が間違っています"},  // its parent is a file
      {dir_ / "OUT", "ファイル名の指定が間違っています"},             // CheckList inside it is a file
      {"/proc/datawright-fault-test", ""},                            // a place nobody can write
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out.string());
    const test::CliResult r = Import(c.out);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, (c.out / "CheckList").string() + "\" を作成できません。" + c.reason)) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(test::ReadFile(dir_ / "a-file"), "not a folder");
  EXPECT_EQ(test::ReadFile(dir_ / "OUT" / "CheckList"), "a file named CheckList");
}

TEST_F(ImportFaults, FolderWhereAnOutputFileShouldBeStopsWithEarlierDaysComplete) {
  const fs::path out = dir_ / "OUT" / "CheckList";
  const Files old = WriteOldFiles(out, {{"Check1.dat", ""}, {"C_Memo1.dat", ""}, {"Check2.dat", ""}});
  fs::create_directories(out / "C_Memo2.dat" / "inside");
  const test::CliResult r = Import(dir_ / "OUT");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, (out / "C_Memo2.dat").string() + "\" を作成できません。")) << r.err;
  ExpectOldOrComplete(out, old, complete_);
  // Day 1 and the check file of day 2 were saved before the failing memo file.
  EXPECT_EQ(test::ReadFile(out / "Check1.dat"), complete_.at("Check1.dat"));
  EXPECT_EQ(test::ReadFile(out / "Check2.dat"), complete_.at("Check2.dat"));
  EXPECT_TRUE(fs::is_directory(out / "C_Memo2.dat" / "inside"));
}

TEST_F(ImportFaults, MissingOrDamagedWorkspaceTablesChangeNothing) {
  const fs::path out = dir_ / "OUT" / "CheckList";
  const Files old = WriteOldFiles(out, complete_);
  const fs::path cdata = ws() / "CDATA";
  const std::string date = test::DayListBytes({2, 100}), day_top = test::DayTopBytes({{0, 50}, {50, 40}});
  const struct {
    const char* what;
    std::string date, day_top;  // "-": the file is missing
    std::string message;
  } cases[] = {
      {"no L_Date.dat", "-", day_top, (cdata / "L_Date.dat").string() + "\" は開けません。ファイルが見つかりません"},
      {"L_Date.dat cut", date.substr(0, 9), day_top, (cdata / "L_Date.dat").string() + "\" が壊れています"},
      {"L_Date.dat empty", "", day_top, (cdata / "L_Date.dat").string() + "\" が壊れています"},
      {"no L_DayTop.dat", date, "-", (cdata / "L_DayTop.dat").string() + "\" は開けません。ファイルが見つかりません"},
      {"L_DayTop.dat cut", date, day_top.substr(0, 7), (cdata / "L_DayTop.dat").string() + "\" が壊れています"},
      {"L_DayTop.dat one day short", date, test::DayTopBytes({{0, 50}}),
       (cdata / "L_DayTop.dat").string() + "\" が壊れています: 2日目の記録がありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(cdata);
    if (c.date != "-") test::WriteFile(cdata / "L_Date.dat", c.date);
    if (c.day_top != "-") test::WriteFile(cdata / "L_DayTop.dat", c.day_top);
    const test::CliResult r = Import(dir_ / "OUT");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
    ExpectOldOrComplete(out, old, {});
  }
  // A file where the workspace's CDATA folder should be.
  fs::remove_all(cdata);
  test::WriteFile(cdata, "not a folder");
  const test::CliResult r = Import(dir_ / "OUT");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, (cdata / "L_Date.dat").string() + "\" は開けません。ファイル名の指定が間違っています"))
      << r.err;
  ExpectOldOrComplete(out, old, {});
}

TEST_F(ImportFaults, FieldsThatAreNoIntegers) {
  const fs::path out = dir_ / "OUT" / "CheckList";
  const Files old = WriteOldFiles(out, complete_);
  // Field 0 and field 2 are converted for every record before any file is written.
  for (const auto& [record, shown] : {std::pair{test::CsvRecord("12a", "1", "2"), "'12a' は整数ではありません"},
                                      std::pair{test::CsvRecord("", "1", "2"), ""},
                                      std::pair{test::CsvRecord("5", "1", "p.3"), "'p.3' は整数ではありません"}}) {
    SCOPED_TRACE(record);
    test::WriteFile(dir_ / "in.csv", csv_ + record);
    const test::CliResult r = Import(dir_ / "OUT");
    if (std::string(shown).empty()) {
      // An empty field 0 makes the line blank: it is not a record at all.
      EXPECT_EQ(r.status, 0) << r.err;
      ExpectOldOrComplete(out, {}, complete_);
      WriteOldFiles(out, complete_);
      continue;
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(shown) + "\n");
    ExpectOldOrComplete(out, old, {});
  }
  // A colour that is no integer on day 2: day 1 is written, day 2 keeps its old files.
  test::WriteFile(dir_ / "in.csv", csv_ + test::CsvRecord("70", "red", "150"));
  const test::CliResult r = Import(dir_ / "OUT");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "'red' は整数ではありません\n");
  ExpectOldOrComplete(out, old, complete_);
  EXPECT_EQ(test::ReadFile(out / "C_Memo1.dat"), complete_.at("C_Memo1.dat"));
  EXPECT_EQ(test::ReadFile(out / "Check2.dat"), old.at("Check2.dat"));
}

// ---------------------------------------------------------------------------------------------
// Check-list export

class ExportFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string def(62, '\0');
    def[0] = 77;
    test::WriteFile(card() / "CDATA" / "DEF.dat", def);
    test::WriteFile(card() / "CDATA" / "L_DayTop.dat", test::DayTopBytes({{0, 3}, {3, 2}}));
    test::WriteFile(card() / "DataFull" / "D_Full1.dat", FullLines(0, 3));
    test::WriteFile(card() / "DataFull" / "D_Full2.dat", FullLines(3, 2));
    test::WriteFile(card() / "CheckList" / "Check1.dat", test::HandheldCheckFile({{1, 8, 2}, {2, 1, 0}}));
    test::WriteFile(card() / "CheckList" / "D_Buy1.dat", test::PurchaseFileBytes(3, {{1, 0, {1, 2, 50}}}));
    test::WriteFile(card() / "CheckList" / "Check2.dat", test::HandheldCheckFile({{4, 1, 5}}));
    test::WriteFile(card() / "CheckList" / "D_Buy2.dat", test::PurchaseFileBytes(2, {}));
    const test::CliResult r = Export(dir_ / "REF");
    ASSERT_EQ(r.status, 0) << r.err;
    complete_ = Snapshot(dir_ / "REF");
    ASSERT_EQ(complete_.size(), 1u);
  }

  static std::string FullLines(int first, int count) {
    std::string text;
    for (int c = first; c < first + count; ++c) {
      text += std::to_string(c) + "\tname\tkana\t" + std::to_string(2 + c) + "\t1\t1\tE\tA\t0" + std::to_string(c) +
              "\t100\tauthor\t\turl\tmail\tbook\tnote\t\r\n";
    }
    return text;
  }
  fs::path card() const { return dir_ / "ZAVO_DS"; }
  test::CliResult Export(const fs::path& out) {
    return test::RunCli(Words({"export", card().string(), out.string()}), dir_);
  }

  test::TempDir dir_;
  Files complete_;
};

TEST_F(ExportFaults, DestinationThatCannotBeWritten) {
  test::WriteFile(dir_ / "a-file", "not a folder");
  fs::create_directories(dir_ / "PC" / "ZAVO_DS_Check.csv" / "inside");
  const struct {
    fs::path out, named;
  } cases[] = {
      {dir_ / "a-file", dir_ / "a-file"},                              // the chosen folder is a file
      {dir_ / "a-file" / "sub", dir_ / "a-file" / "sub"},              // its parent is a file
      {dir_ / "PC", dir_ / "PC" / "ZAVO_DS_Check.csv"},                // a folder holds the CSV's name
      {"/proc/datawright-fault-test", "/proc/datawright-fault-test"},  // a place nobody can write
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out.string());
    const test::CliResult r = Export(c.out);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "\"" + c.named.string() + "\" を作成できません。")) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(test::ReadFile(dir_ / "a-file"), "not a folder");
  EXPECT_TRUE(fs::is_directory(dir_ / "PC" / "ZAVO_DS_Check.csv" / "inside"));
  EXPECT_EQ(Snapshot(dir_ / "PC"), Files{});
}

TEST_F(ExportFaults, MissingOrDamagedCardFilesKeepTheOldCsv) {
  const Files old = WriteOldFiles(dir_ / "PC", complete_);
  const Files card_files = Snapshot(card());
  std::string overfull = test::HandheldCheckFile({{1, 8, 2}});
  overfull[0] = '\xFF';  // 65535 used slots in a file of 10240
  overfull[1] = '\xFF';
  const struct {
    const char* file;
    std::string bytes;  // "-": the file is missing
    const char* message;
  } cases[] = {
      {"CheckList/Check1.dat", "-", "\" は開けません。ファイルが見つかりません"},
      {"CheckList/Check1.dat", card_files.at("CheckList/Check1.dat").substr(0, 1), "\" が壊れています"},
      {"CheckList/Check1.dat", overfull, "\" が壊れています: 使用数 65535 がファイルの枠数 10240 を超えています"},
      {"CheckList/Check2.dat", "-", "\" は開けません。ファイルが見つかりません"},
      {"CheckList/D_Buy1.dat", "-", "\" は開けません。ファイルが見つかりません"},
      {"CheckList/D_Buy1.dat", card_files.at("CheckList/D_Buy1.dat").substr(0, 100), "\" が壊れています"},
      {"CheckList/D_Buy2.dat", "", "\" が壊れています"},
      {"CDATA/DEF.dat", "-", "\" は開けません。ファイルが見つかりません"},
      {"CDATA/DEF.dat", "\x4d", "\" が壊れています"},
      {"CDATA/L_DayTop.dat", "-", "\" は開けません。ファイルが見つかりません"},
      {"CDATA/L_DayTop.dat", card_files.at("CDATA/L_DayTop.dat").substr(0, 8), "\" が壊れています"},
      {"CDATA/L_DayTop.dat", test::DayTopBytes({{0, 3}}), "\" が壊れています: 2日目の記録がありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.bytes.size()));
    for (const auto& [name, bytes] : card_files) test::WriteFile(card() / name, bytes);
    fs::remove(card() / c.file);
    if (c.bytes != "-") test::WriteFile(card() / c.file, c.bytes);
    const test::CliResult r = Export(dir_ / "PC");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, (card() / c.file).string() + c.message)) << r.err;
    ExpectOldOrComplete(dir_ / "PC", old, {});
  }
  // A D_Full line whose field 0 is no integer names the file and the line.
  for (const auto& [name, bytes] : card_files) test::WriteFile(card() / name, bytes);
  test::WriteFile(card() / "DataFull" / "D_Full2.dat", FullLines(3, 1) + "x4\tname\r\n");
  test::CliResult r = Export(dir_ / "PC");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(
      Contains(r.err, "'x4' は整数ではありません (" + (card() / "DataFull" / "D_Full2.dat").string() + " 2 行目)"))
      << r.err;
  ExpectOldOrComplete(dir_ / "PC", old, {});
  // A file where the CheckList folder should be.
  for (const auto& [name, bytes] : card_files) test::WriteFile(card() / name, bytes);
  fs::remove_all(card() / "CheckList");
  test::WriteFile(card() / "CheckList", "not a folder");
  r = Export(dir_ / "PC");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(
      r.err, (card() / "CheckList" / "Check1.dat").string() + "\" は開けません。ファイル名の指定が間違っています"))
      << r.err;
  ExpectOldOrComplete(dir_ / "PC", old, {});
}

// ---------------------------------------------------------------------------------------------
// Catalog conversion

// An 8-bit RGB PNG of w x h pixels: a pattern of a few dozen colours, or with `gradient` one whose
// red follows x and green y (over a thousand colours once halved and reduced to 15 bits).
std::string PngFile(uint32_t w, uint32_t h, int seed, bool gradient = false) {
  auto chunk = [](const std::string& type, const std::string& data) {
    std::string out;
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((data.size() >> s) & 0xFF);
    out += type + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((crc >> s) & 0xFF);
    return out;
  };
  auto be32 = [](uint32_t v) {
    std::string out;
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
    return out;
  };
  std::string raw;
  for (uint32_t y = 0; y < h; ++y) {
    raw += '\0';
    for (uint32_t x = 0; x < 3 * w; ++x) {
      const uint32_t v = gradient ? (x % 3 == 0 ? x / 3 : x % 3 == 1 ? y : seed) : x * 7 + y * 3 + seed;
      raw += static_cast<char>(v & 0xFF);
    }
  }
  uLongf packed_size = compressBound(raw.size());
  std::string packed(packed_size, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(raw.data()),
            raw.size(), 6);
  packed.resize(packed_size);
  return std::string("\x89PNG\r\n\x1a\n", 8) +
         chunk("IHDR", be32(w) + be32(h) + std::string("\x08\x02\x00\x00\x00", 5)) + chunk("IDAT", packed) +
         chunk("IEND", "");
}

class ConvertFaults : public ::testing::Test {
 protected:
  // A copy of the sample catalog, page images and hall maps included.
  void SetUp() override {
    fs::copy(test::SampleCatalog(), catalog(), fs::copy_options::recursive);
    ASSERT_TRUE(fs::exists(catalog() / "PDATA" / "0009.png"));
  }

  fs::path catalog() const { return dir_ / "catalog"; }
  test::CliResult Convert(const fs::path& source, const fs::path& dest, const fs::path& ws,
                          const std::string& mode = "all") {
    std::error_code ec;
    fs::create_directories(dest, ec);  // the card's folder exists; a bad one stays as it is
    return test::RunCli(Words({"convert", source.string(), dest.string(), "--mode", mode, "--workspace", ws.string(),
                               "--threads", "2"}),
                        dir_);
  }
  // The complete workspace and destination of an undisturbed run of `source`.
  void Reference(const fs::path& source) {
    const test::CliResult r = Convert(source, dir_ / "REF-DEST", dir_ / "REF-WS");
    ASSERT_EQ(r.status, 0) << r.err;
    complete_ws_ = Snapshot(dir_ / "REF-WS");
    complete_dest_ = Snapshot(dir_ / "REF-DEST");
    ASSERT_GT(complete_ws_.size(), 40u);
  }

  test::TempDir dir_;
  Files complete_ws_, complete_dest_;
};

TEST_F(ConvertFaults, WorkspaceThatCannotBeWritten) {
  test::WriteFile(dir_ / "a-file", "not a folder");
  test::WriteFile(dir_ / "WS3" / "CDATA", "a file named CDATA");
  const struct {
    fs::path ws, named;
  } cases[] = {
      {dir_ / "a-file", dir_ / "a-file" / "CDATA"},                // the workspace is a file
      {dir_ / "a-file" / "WS", dir_ / "a-file" / "WS" / "CDATA"},  // its parent is a file
      {dir_ / "WS3", dir_ / "WS3" / "CDATA"},                      // a file where CDATA should be
      {"/proc/datawright-fault-test", "/proc/datawright-fault-test/CDATA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ws.string());
    const test::CliResult r = Convert(catalog(), dir_ / "DEST", c.ws);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "\"" + c.named.string() + "\" を作成できません。")) << r.err;
    EXPECT_TRUE(fs::is_empty(dir_ / "DEST"));
  }
  EXPECT_EQ(test::ReadFile(dir_ / "a-file"), "not a folder");
  EXPECT_EQ(test::ReadFile(dir_ / "WS3" / "CDATA"), "a file named CDATA");
}

TEST_F(ConvertFaults, DestinationThatIsNoFolderStopsBeforeAnythingIsCreated) {
  Reference(catalog());
  test::WriteFile(dir_ / "a-file", "not a folder");
  const struct {
    fs::path dest;
    const char* what;
  } cases[] = {
      {dir_ / "a-file", "\" はフォルダではありません。"},
      {dir_ / "a-file" / "sub", "\" はフォルダではありません。"},
      {"/proc/datawright-fault-test", "\" が見つかりません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dest.string());
    const fs::path ws = dir_ / ("WS-" + c.dest.filename().string());
    const test::CliResult r = Convert(catalog(), c.dest, ws);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "保存先フォルダ \"" + c.dest.string() + c.what)) << r.err;
    EXPECT_FALSE(fs::exists(ws));
  }
  EXPECT_EQ(test::ReadFile(dir_ / "a-file"), "not a folder");

  // A file named ZAVO_DS: the conversion runs, the copy stops before writing anything.
  test::WriteFile(dir_ / "DEST2" / "ZAVO_DS", "a file named ZAVO_DS");
  const test::CliResult r = Convert(catalog(), dir_ / "DEST2", dir_ / "WS2");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ファイル \"" + (dir_ / "DEST2" / "ZAVO_DS").string() +
                       "\" を作成できません。ファイル名の指定が間違っています。カードは変換前のままです。\n");
  EXPECT_TRUE(Contains(r.out, "ファイルコピーに失敗しました")) << r.out;
  EXPECT_EQ(Snapshot(dir_ / "WS2"), complete_ws_);
  EXPECT_EQ(Snapshot(dir_ / "DEST2"), (Files{{"ZAVO_DS", "a file named ZAVO_DS"}}));
}

TEST_F(ConvertFaults, FolderWhereADestinationFileShouldBeStopsTheCopyCleanly) {
  Reference(catalog());
  const fs::path dest = dir_ / "DEST";
  Files old = WriteOldFiles(dest, complete_dest_);
  const std::string blocked = "ZAVO_DS/CheckList/C_Memo2.dat";
  old.erase(blocked);
  fs::remove(dest / blocked);
  fs::create_directories(dest / blocked / "inside");
  const test::CliResult r = Convert(catalog(), dest, dir_ / "WS");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, (dest / blocked).string() + "\" を作成できません。")) << r.err;
  EXPECT_TRUE(Contains(r.err, "カードは変換前のままです。")) << r.err;
  // Found before the copy: every file on the card is old; the workspace is complete.
  EXPECT_EQ(Snapshot(dest), old);
  EXPECT_TRUE(fs::is_directory(dest / blocked / "inside"));
  EXPECT_EQ(Snapshot(dir_ / "WS"), complete_ws_);
}

TEST_F(ConvertFaults, PageImageCutInHalf) {
  Reference(catalog());
  const fs::path page = catalog() / "PDATA" / "0009.png";
  const std::string whole = test::ReadFile(page);
  test::WriteFile(page, whole.substr(0, whole.size() / 2));
  const Files old_ws = WriteOldFiles(dir_ / "WS", complete_ws_);
  const Files old_dest = WriteOldFiles(dir_ / "DEST", complete_dest_);
  const test::CliResult r = Convert(catalog(), dir_ / "DEST", dir_ / "WS");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "画像ファイル \"" + page.string() + "\" を読み込めません")) << r.err;
  ExpectOldOrComplete(dir_ / "WS", old_ws, complete_ws_);
  // The data tables were all written, the pages before the cut one too; nothing was copied.
  EXPECT_EQ(test::ReadFile(dir_ / "WS" / "CDATA" / "L_DayTop.dat"), complete_ws_.at("CDATA/L_DayTop.dat"));
  EXPECT_EQ(test::ReadFile(dir_ / "WS" / "PDATA2" / "0008.gdc"), complete_ws_.at("PDATA2/0008.gdc"));
  EXPECT_EQ(test::ReadFile(dir_ / "WS" / "PDATA3" / "0014.gdc"), old_ws.at("PDATA3/0014.gdc"));
  EXPECT_EQ(Snapshot(dir_ / "DEST"), old_dest);

  // Images only: the same message, and the data tables stay as they are.
  const test::CliResult images = Convert(catalog(), dir_ / "DEST", dir_ / "WS", "images");
  EXPECT_EQ(images.status, 1);
  EXPECT_TRUE(Contains(images.err, "画像ファイル \"" + page.string() + "\" を読み込めません")) << images.err;
  ExpectOldOrComplete(dir_ / "WS", old_ws, complete_ws_);
}

TEST_F(ConvertFaults, PageImagesThatCannotBeDecodedStopNamingTheFile) {
  const fs::path page = catalog() / "PDATA" / "0009.png";
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      // A header declaring 100,000 x 100,000 pixels is refused before anything is allocated.
      {"huge", PngFile(1, 1, 0).replace(16, 8, std::string("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8)),
       "\" は大きすぎます (100000 x 100000"},
      {"not a PNG", "GIF89a", "\" を読み込めません (PNG ファイルではありません)"},
      {"empty", "", "\" を読み込めません"},
      {"bad checksum", PngFile(4, 4, 1).replace(29, 1, "\x7F"), "\" を読み込めません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteFile(page, c.bytes);
    const test::CliResult r = Convert(catalog(), dir_ / "DEST", dir_ / "WS");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "画像ファイル \"" + page.string() + c.message)) << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "DEST" / "ZAVO_DS"));
  }
}

// More colours than the shared palette's 255 entries: the job completes with a full palette.
TEST_F(ConvertFaults, PageWithMoreColoursThanThePaletteHolds) {
  test::WriteFile(catalog() / "PDATA" / "0002.png", PngFile(256, 256, 5, true));
  const test::CliResult r = Convert(catalog(), dir_ / "DEST", dir_ / "WS");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string palette = test::ReadFile(dir_ / "WS" / "SYSTEM" / "Palette.pal");
  ASSERT_EQ(palette.size(), 512u);
  std::set<uint32_t> entries;
  for (size_t i = 1; i < 256; ++i) entries.insert(ReadU16(palette, 2 * i));
  EXPECT_EQ(entries.size(), 255u);
  EXPECT_GT(fs::file_size(dir_ / "WS" / "PDATA1" / "0002.gdc"), 0u);
}

TEST_F(ConvertFaults, MissingOrCutCatalogTables) {
  const fs::path map = catalog() / "CDATA" / "C77MAP.TXT", day2 = catalog() / "CDATA" / "C77ROM2.TXT";
  const std::string map_text = test::ReadFile(map), day2_text = test::ReadFile(day2);
  fs::remove(map);
  test::CliResult r = Convert(catalog(), dir_ / "DEST", dir_ / "WS", "data");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ファイルが見つかりません (" + map.string() + ")\n");
  // A day's table cut inside a row: the row's cells are short, and the first empty number stops
  // the run after day 1 was written in full.
  test::WriteFile(map, map_text);
  test::WriteFile(day2, day2_text.substr(0, day2_text.find('\t', day2_text.size() / 2) + 1));
  r = Convert(catalog(), dir_ / "DEST", dir_ / "WS", "data");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "'' は整数ではありません\n");
  EXPECT_TRUE(Contains(r.out, "サークルデータ (2日目) 作成開始")) << r.out;
  EXPECT_FALSE(fs::exists(dir_ / "DEST" / "ZAVO_DS"));
  for (const auto& [name, bytes] : Snapshot(dir_ / "WS")) EXPECT_FALSE(IsPartialFile(name)) << name;
  test::WriteFile(day2, day2_text);
  Reference(catalog());
  for (const char* name : {"CDATA/C_List1.dat", "DataFull/D_Full1.dat", "CDATA/C_Info1.dat"}) {
    EXPECT_EQ(test::ReadFile(dir_ / "WS" / name), complete_ws_.at(name)) << name;
  }
}

TEST_F(ConvertFaults, CatalogOnAPathWithJapaneseCharactersAndSpaces) {
  Reference(catalog());
  const fs::path source = dir_ / "カタログ 2010 夏" / "ＤＶＤ ドライブ (Ｅ)";
  fs::create_directories(source.parent_path());
  fs::copy(catalog(), source, fs::copy_options::recursive);
  const fs::path dest = dir_ / "メモリー カード", ws = dir_ / "作業 フォルダ";
  const test::CliResult r = Convert(source, dest, ws);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Snapshot(ws), complete_ws_);
  EXPECT_EQ(Snapshot(dest), complete_dest_);
  // The check-list jobs over the same kind of paths.
  const fs::path csv = dir_ / "チェック リスト.csv";
  test::WriteFile(csv, std::string(test::kCsvHeader) + test::CsvRecord("40", "2", "9", "メモ"));
  const test::CliResult in =
      test::RunCli(Words({"import", csv.string(), (dest / "ZAVO_DS").string(), "--workspace", ws.string()}), dir_);
  EXPECT_EQ(in.status, 0) << in.err;
  const test::CliResult out =
      test::RunCli(Words({"export", (dest / "ZAVO_DS").string(), (dir_ / "書き出し 先").string()}), dir_);
  EXPECT_EQ(out.status, 0) << out.err;
  const std::string exported = test::ReadFile(dir_ / "書き出し 先" / "ZAVO_DS_Check.csv");
  EXPECT_TRUE(Contains(exported, "\r\n40,2,")) << exported;
}

}  // namespace
}  // namespace dw
