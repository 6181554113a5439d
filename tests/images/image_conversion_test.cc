#include "images/image_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "common/messages.h"
#include "common/table_builder.h"
#include "support/image_fixtures.h"
#include "images/hall_maps.h"
#include "images/hall_maps_ahead.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

// A catalog folder and a workspace in one temporary folder.
class ImageJob : public ::testing::Test {
 protected:
  fs::path root() const { return dir_ / "catalog"; }
  fs::path ws() const { return dir_ / "DATA"; }

  void Page(int n, const Bitmap& b) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.png", n);
    test::WritePng(root() / "PDATA" / name, b);
  }
  void Map(int day, const std::string& group, const Bitmap& map, const Bitmap& overlay) {
    test::WritePng(root() / "MDATA" / ("MAP" + std::to_string(day) + group + ".png"), map);
    test::WritePng(root() / "MDATA" / ("GNR" + std::to_string(day) + group + ".png"), overlay);
  }
  void Run(int threads = 1, HallMapsAhead* ahead = nullptr) {
    ImageConversion job(log_);
    job.RootFld = root();
    job.DstFld = ws();
    job.threads = threads;
    job.hall_maps_ahead = ahead;
    job.Run();
    merged_ = job.palette().merged();
  }
  std::string Out(const std::string& relative) const { return test::ReadFile(ws() / relative); }
  bool Exists(const std::string& relative) const { return fs::exists(ws() / relative); }
  // Every file below the workspace but the day table.
  std::map<std::string, std::string> Outputs() const {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(ws())) {
      if (e.is_regular_file() && e.path().filename() != "L_Date.dat") {
        out[fs::relative(e.path(), ws()).generic_string()] = test::ReadFile(e.path());
      }
    }
    return out;
  }

  test::TempDir dir_;
  test::RecordingStatusLog log_;
  int merged_ = 0;
};

// GDC indices back as a string of bytes.
std::string GdcIndices(const std::string& gdc) {
  std::string out;
  for (size_t i = 8; i + 1 < gdc.size();) {
    const uint8_t c = static_cast<uint8_t>(gdc[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else {
      out.append(c & 0x7F, gdc[i + 1]);
      i += 2;
    }
  }
  return out;
}

TEST_F(ImageJob, ConvertsPagesIntoDayFoldersAndMapsIntoMdata) {
  test::MakeWorkspace(ws(), {2, 4});
  for (int n = 2; n <= 5; ++n) Page(n, test::PatternPage(40 + n, 30, static_cast<unsigned>(n)));
  for (const char* g : {"E123", "E456", "W12"}) Map(1, g, test::Solid(60, 41, 200, 180, 160), Bitmap(60, 41, 3));
  Run();
  for (const char* f : {"PDATA1/0002.gdc", "PDATA1/0003.gdc", "PDATA2/0004.gdc", "PDATA2/0005.gdc",
                        "MDATA/MAP1E123mini.dat", "MDATA/MAP1E456.gdc", "MDATA/MAP1W12.rak"}) {
    EXPECT_TRUE(Exists(f)) << f;
  }
  EXPECT_FALSE(Exists("MDATA/MAP2E123.gdc"));
  const std::string page = Out("PDATA2/0005.gdc");
  EXPECT_EQ(ReadU32(page, 0), page.size());
  EXPECT_EQ(ReadU16(page, 4), 24u);  // 45 -> 46 -> 23 -> 24
  EXPECT_EQ(ReadU16(page, 6), 16u);
  EXPECT_EQ(Out("MDATA/MAP1E123mini.dat").size(), kMiniMapFileBytes);
  EXPECT_EQ(Out("MDATA/MAP1E123.rak").size(), 64u * 40u + 8u);

  const std::string sizes = Out("SYSTEM/GrpSize.dat");
  ASSERT_EQ(sizes.size(), 12u);
  EXPECT_EQ(ReadU32(sizes, 0), 24u * 16u);  // largest page
  EXPECT_EQ(ReadU32(sizes, 4), 64u * 40u);  // largest large map
  size_t largest = 0;
  for (const auto& [name, bytes] : Outputs()) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".gdc") largest = std::max(largest, bytes.size());
  }
  EXPECT_EQ(ReadU32(sizes, 8), largest);
  const std::string palette = Out("SYSTEM/Palette.pal");
  ASSERT_EQ(palette.size(), 512u);
  EXPECT_EQ(ReadU16(palette, 0), 0u);

  const std::vector<std::string> lines = {"サークルカット作成開始", "ホールマップ作成開始"};
  EXPECT_EQ(log_.lines, lines);
  // The bar ends the run counting the day's three hall maps, all done.
  EXPECT_EQ(log_.min, 0);
  EXPECT_EQ(log_.max, 3);
  EXPECT_EQ(log_.position, 3);
}

TEST_F(ImageJob, PaletteFollowsPagesThenMiniMapsThenLargeMaps) {
  test::MakeWorkspace(ws(), {2});
  Page(2, Bitmap(16, 16, 1, 128));  // grey 128, no padding
  // Mini maps show each map's colour; the large maps add the blends with the overlays.
  Map(1, "E123", test::Solid(40, 40, 0, 255, 0), test::Solid(40, 40, 0, 0, 255));
  Map(1, "E456", test::Solid(40, 40, 255, 0, 0), Bitmap(40, 40, 3));
  Map(1, "W12", test::Solid(40, 40, 0, 255, 255), Bitmap(40, 40, 3));
  Run();
  const std::string pal = Out("SYSTEM/Palette.pal");
  std::vector<uint32_t> entries;
  for (int i = 1; i <= 5; ++i) entries.push_back(ReadU16(pal, 2 * i));
  EXPECT_EQ(entries, (std::vector<uint32_t>{Colour15(128, 128, 128), Colour15(0, 255, 0), Colour15(255, 0, 0),
                                            Colour15(0, 255, 255), Colour15(0, 128, 127)}));
  EXPECT_EQ(ReadU16(pal, 12), 0u);  // green half way to red is the only colour of the large maps
  EXPECT_EQ(GdcIndices(Out("PDATA1/0002.gdc")), std::string(64, '\x01'));
  EXPECT_EQ(Out("MDATA/MAP1E456mini.dat")[4], 3);
  EXPECT_EQ(GdcIndices(Out("MDATA/MAP1E456.gdc")), std::string(40 * 40, '\x03'));
  EXPECT_EQ(GdcIndices(Out("MDATA/MAP1E123.gdc")), std::string(40 * 40, '\x05'));
}

TEST_F(ImageJob, OutputIsTheSameForEveryThreadCount) {
  test::MakeWorkspace(ws(), {2, 9, 17});
  for (int n = 2; n <= 26; ++n) {
    Bitmap page = test::PatternPage(30 + n % 7, 20 + n % 5, static_cast<unsigned>(n));
    if (n % 4 == 0) page = ToBgr(page);
    for (size_t i = 0; n % 4 == 0 && i < page.pixels.size(); i += 3) page.pixels[i] = static_cast<uint8_t>(i * n);
    Page(n, page);
  }
  for (int d = 1; d <= 2; ++d) {
    for (const char* g : {"E123", "E456", "W12"}) {
      Bitmap map = ToBgr(test::PatternPage(90 + d, 47, static_cast<unsigned>(d * 7 + g[1])));
      Map(d, g, map, test::Solid(50, 50, static_cast<uint8_t>(d * 40), 0, 200));
    }
  }
  Run(1);
  const auto single = Outputs();
  EXPECT_GT(merged_, 0);  // noisy colour pages overflow the palette: merging is order-sensitive too
  for (int threads : {2, 3, 8, 0}) {
    fs::remove_all(ws() / "PDATA1");
    Run(threads);
    const auto multi = Outputs();
    ASSERT_EQ(multi.size(), single.size());
    for (const auto& [name, bytes] : single) EXPECT_TRUE(multi.at(name) == bytes) << name << ", " << threads << " threads";
  }
}

// Maps prepared ahead (by their own thread, by the job's threads when the thread has not reached
// them, a few at a time) give the files, status calls and errors of maps prepared by the job.
TEST_F(ImageJob, HallMapsPreparedAheadChangeNothing) {
  for (int n = 2; n <= 7; ++n) Page(n, test::PatternPage(33 + n, 21, static_cast<unsigned>(n)));
  for (int d = 1; d <= 3; ++d) {
    for (const char* g : {"E123", "E456", "W12"}) {
      Map(d, g, ToBgr(test::PatternPage(70 + d, 45, static_cast<unsigned>(d * 5 + g[1]))),
          test::Solid(40, 50, static_cast<uint8_t>(d * 60), 30, 220));
    }
  }
  struct Result {
    std::map<std::string, std::string> files;
    std::vector<std::string> calls;
    std::string error;
  };
  auto run = [&](int threads, bool ahead, bool start, size_t max_ready, size_t max_bytes = kMostBytesAhead) {
    fs::remove_all(ws());
    test::MakeWorkspace(ws(), {2, 5});
    log_ = test::RecordingStatusLog{};
    Result r;
    {
      HallMapsAhead maps(root(), ws(), max_ready, max_bytes);
      if (start) {
        maps.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the thread get ahead
      }
      r.error = test::Thrown([&] { Run(threads, ahead ? &maps : nullptr); }).message;
    }
    r.files = Outputs();
    r.calls = log_.calls;
    return r;
  };
  for (bool broken : {false, true}) {
    // A day 2 overlay that does not decode: the run stops after day 2's mini maps and E123 map.
    if (broken) test::WriteFile(root() / "MDATA" / "GNR2E456.png", "not a png");
    const Result plain = run(1, false, false, 0);
    EXPECT_EQ(plain.error.find("GNR2E456.png") != std::string::npos, broken) << plain.error;
    EXPECT_EQ(plain.files.count("MDATA/MAP2E123.gdc"), 1u);
    EXPECT_EQ(plain.files.count("MDATA/MAP2E456.gdc"), broken ? 0u : 1u);
    const struct {
      int threads;
      bool start;
      size_t max_ready;
      size_t max_bytes;
    } cases[] = {{1, true, 9, kMostBytesAhead}, {2, true, 1, kMostBytesAhead}, {3, true, 3, kMostBytesAhead},
                 {2, false, 3, kMostBytesAhead}, {2, true, 9, 1}};  // the last holds one map by its bytes
    for (const auto& c : cases) {
      const Result ahead = run(c.threads, true, c.start, c.max_ready, c.max_bytes);
      const std::string context = std::to_string(c.threads) + " threads, started " + std::to_string(c.start) +
                                  ", " + std::to_string(c.max_ready) + " ready, broken " + std::to_string(broken);
      EXPECT_EQ(ahead.error, plain.error) << context;
      EXPECT_EQ(ahead.calls, plain.calls) << context;
      EXPECT_EQ(test::Differences(ahead.files, plain.files), "") << context;
      EXPECT_TRUE(ahead.files == plain.files) << context;
    }
  }
}

TEST_F(ImageJob, Page0001IsNeverConvertedAnd1801OnlyAfter1800) {
  test::MakeWorkspace(ws(), {1, 2});
  Page(1, Bitmap(4, 4, 1, 0));
  Page(1800, Bitmap(4, 4, 1, 0));
  Page(1801, Bitmap(4, 4, 1, 0));
  Page(1802, Bitmap(4, 4, 1, 0));
  Run();
  // Day 1 starts at 1, which the walk never visits, so no day folder is ever made.
  EXPECT_FALSE(Exists("PDATA1"));
  test::MakeWorkspace(ws(), {2});
  Run();
  EXPECT_FALSE(Exists("PDATA1/0001.gdc"));
  EXPECT_TRUE(Exists("PDATA1/1800.gdc"));
  EXPECT_TRUE(Exists("PDATA1/1801.gdc"));
  EXPECT_FALSE(Exists("PDATA1/1802.gdc"));
  EXPECT_EQ(log_.max, 1);

  fs::remove_all(ws() / "PDATA1");
  fs::remove(root() / "PDATA" / "1800.png");
  Page(1799, Bitmap(4, 4, 1, 0));
  Run();
  EXPECT_TRUE(Exists("PDATA1/1799.gdc"));
  EXPECT_FALSE(Exists("PDATA1/1801.gdc"));
}

TEST_F(ImageJob, PagesBeforeTheFirstDayAreSkipped) {
  test::MakeWorkspace(ws(), {4});
  for (int n = 2; n <= 5; ++n) Page(n, Bitmap(4, 4, 1, 0));
  Run();
  EXPECT_FALSE(Exists("PDATA1/0002.gdc"));
  EXPECT_FALSE(Exists("PDATA1/0003.gdc"));
  EXPECT_TRUE(Exists("PDATA1/0004.gdc"));
  EXPECT_EQ(log_.max, 4);  // the progress maximum still counts every page image
}

TEST_F(ImageJob, APageNameThatIsAFolderIsSkippedWithAStatusLine) {
  test::MakeWorkspace(ws(), {2});
  Page(2, Bitmap(4, 4, 1, 0));
  fs::create_directories(root() / "PDATA" / "0003.png");
  Page(4, Bitmap(4, 4, 1, 0));
  Run();
  EXPECT_TRUE(Exists("PDATA1/0002.gdc"));
  EXPECT_FALSE(Exists("PDATA1/0003.gdc"));
  EXPECT_TRUE(Exists("PDATA1/0004.gdc"));
  ASSERT_GE(log_.lines.size(), 2u);
  EXPECT_EQ(log_.lines[1], "\"" + (root() / "PDATA" / "0003.png").string() + "\" はファイルではないので飛ばしました");
}

TEST_F(ImageJob, ProgressMovesEveryTenPages) {
  test::MakeWorkspace(ws(), {2});
  for (int n = 2; n <= 22; ++n) Page(n, Bitmap(2, 2, 1, 0));
  Run();
  std::vector<std::string> positions;
  for (const std::string& c : log_.calls) {
    if (c.rfind("position", 0) == 0 || c.rfind("max", 0) == 0) positions.push_back(c);
  }
  EXPECT_EQ(positions, (std::vector<std::string>{"max: 21", "position: 10", "position: 20", "position: 0"}));
}

TEST_F(ImageJob, CatalogNamesAreFoundRegardlessOfCase) {
  test::MakeWorkspace(ws(), {2});
  test::WritePng(dir_ / "catalog" / "pdata" / "0002.PNG", Bitmap(4, 4, 1, 0));
  for (const char* g : {"e123", "E456", "w12"}) {
    test::WritePng(dir_ / "catalog" / "Mdata" / (std::string("map1") + g + ".png"), Bitmap(20, 20, 3));
    test::WritePng(dir_ / "catalog" / "Mdata" / (std::string("GNR1") + g + ".PNG"), Bitmap(20, 20, 3));
  }
  Run();
  EXPECT_TRUE(Exists("PDATA1/0002.gdc"));
  EXPECT_TRUE(Exists("MDATA/MAP1W12.gdc"));
  EXPECT_TRUE(Exists("MDATA/MAP1E123mini.dat"));
}

TEST_F(ImageJob, MissingDayTableStopsBeforeAnyOutput) {
  fs::create_directories(ws() / "SYSTEM");
  Page(2, Bitmap(4, 4, 1, 0));
  const test::ThrownError e = test::Thrown([&] { Run(); });
  EXPECT_TRUE(e.Contains("L_Date.dat")) << e.what();
  EXPECT_TRUE(log_.lines.empty());
  EXPECT_FALSE(Exists("SYSTEM/Palette.pal"));
}

TEST_F(ImageJob, UndecodablePageStopsTheJobThere) {
  for (int threads : {1, 4}) {
    test::MakeWorkspace(ws(), {2});
    fs::remove_all(ws() / "PDATA1");
    for (int n = 2; n <= 12; ++n) Page(n, Bitmap(4, 4, 1, 0));
    test::WriteFile(root() / "PDATA" / "0005.png", "not a png");
    const test::ThrownError e = test::Thrown([&] { Run(threads); });
    EXPECT_TRUE(e.Contains("0005.png")) << e.what();
    EXPECT_TRUE(Exists("PDATA1/0004.gdc"));
    EXPECT_FALSE(Exists("PDATA1/0005.gdc"));
    EXPECT_FALSE(Exists("PDATA1/0006.gdc")) << threads;
    EXPECT_FALSE(Exists("SYSTEM/GrpSize.dat"));
  }
}

TEST_F(ImageJob, MissingSecondGroupMapStopsAfterTheFirstMiniMap) {
  test::MakeWorkspace(ws(), {2});
  Map(1, "E123", Bitmap(20, 20, 3), Bitmap(20, 20, 3));
  const test::ThrownError e = test::Thrown([&] { Run(); });
  EXPECT_TRUE(e.Contains("MAP1E456.png")) << e.what();
  EXPECT_TRUE(Exists("MDATA/MAP1E123mini.dat"));
  EXPECT_FALSE(Exists("MDATA/MAP1E123.gdc"));
  EXPECT_FALSE(Exists("SYSTEM/GrpSize.dat"));
}

TEST_F(ImageJob, MissingOverlayStopsAfterTheMiniMaps) {
  test::MakeWorkspace(ws(), {2});
  for (const char* g : {"E123", "E456", "W12"}) Map(1, g, Bitmap(20, 20, 3), Bitmap(20, 20, 3));
  fs::remove(root() / "MDATA" / "GNR1E456.png");
  EXPECT_THROW(Run(2), Error);
  EXPECT_TRUE(Exists("MDATA/MAP1W12mini.dat"));
  EXPECT_TRUE(Exists("MDATA/MAP1E123.gdc"));
  EXPECT_TRUE(Exists("MDATA/MAP1E123.rak"));
  EXPECT_FALSE(Exists("MDATA/MAP1E456.gdc"));
}

TEST_F(ImageJob, MergedColoursAreReportedOnce) {
  test::MakeWorkspace(ws(), {2});
  // 2 x 2 blocks of 300 distinct colours survive the halving unchanged.
  Bitmap page(40, 30, 3);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int k = (y / 2) * 20 + x / 2;
      uint8_t* p = page.Row(y) + 3 * x;
      p[0] = static_cast<uint8_t>((k % 10) * 24);
      p[1] = static_cast<uint8_t>((k / 10 % 10) * 24);
      p[2] = static_cast<uint8_t>((k / 100) * 24);
    }
  }
  Page(2, page);
  Run();
  EXPECT_EQ(merged_, 300 + 1 - 255);  // and white padding
  ASSERT_EQ(log_.lines.size(), 3u);
  EXPECT_NE(log_.lines[2].find("46 色"), std::string::npos) << log_.lines[2];
}

}  // namespace
}  // namespace dw

namespace dw {
namespace {

// The bundled sample catalog's images match its days (start pages 2, 8, 14) and hall maps.
TEST(SampleCatalogImages, ConvertIntoThreeDaysAndNineMaps) {
  test::TempDir dir;
  test::MakeWorkspace(dir / "DATA", {2, 8, 14});
  test::RecordingStatusLog log;
  ImageConversion job(log);
  job.RootFld = test::SampleCatalog();
  job.DstFld = dir / "DATA";
  job.Run();
  for (int page = 2; page <= 19; ++page) {
    const int day = page < 8 ? 1 : page < 14 ? 2 : 3;
    char name[32];
    std::snprintf(name, sizeof name, "PDATA%d/%04d.gdc", day, page);
    EXPECT_TRUE(fs::exists(dir / "DATA" / name)) << name;
  }
  EXPECT_EQ(job.converted_pages(), 18);
  int map_files = 0;
  for (const auto& e : fs::directory_iterator(dir / "DATA" / "MDATA")) map_files += e.is_regular_file();
  EXPECT_EQ(map_files, 27);
  EXPECT_EQ(job.palette().merged(), 0);
}

}  // namespace
}  // namespace dw
