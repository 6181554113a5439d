// `check` and `show` on data sets: the sample catalog's converted set, damaged one fault at a
// time, and a hand-built image.
#include <gtest/gtest.h>

#include <functional>

#include "common/table_builder.h"
#include "convert/catalog_job.h"
#include "dataset/data_set_check.h"
#include "images/png_loader.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::Bytes;
using test::Quote;

class DataSetTools : public ::testing::Test {
 protected:
  // The sample catalog converted once (data and images) for the whole suite.
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    fs::create_directories(dir_->path() / "dest");
    CatalogJobParams p;
    p.source_root = test::SampleCatalog();
    p.destination = dir_->path() / "dest";
    p.workspace = dir_->path() / "ws";
    test::RecordingStatusLog log;
    ASSERT_EQ(RunCatalogJob(p, log), CatalogJobOutcome::kCompleted);
  }
  static void TearDownTestSuite() { delete dir_; }
  static fs::path Sound() { return dir_->path() / "dest" / "ZAVO_DS"; }
  static fs::path Workspace() { return dir_->path() / "ws"; }

  // A fresh copy of the sound set.
  fs::path Copy() {
    const fs::path set = work_.path() / ("set" + std::to_string(++copies_));
    fs::copy(Sound(), set, fs::copy_options::recursive);
    return set;
  }

  static test::TempDir* dir_;
  test::TempDir work_;
  int copies_ = 0;
};
test::TempDir* DataSetTools::dir_ = nullptr;

// Overwrites bytes of a file in place.
void Poke(const fs::path& file, size_t offset, const std::string& bytes) {
  std::string data = test::ReadFile(file);
  data.replace(offset, bytes.size(), bytes);
  test::WriteFile(file, data);
}

TEST_F(DataSetTools, CheckNamesTheFileAndOffsetOfEachFault) {
  for (const DataSetFault& fault : CheckDataSet(Sound())) ADD_FAILURE() << FaultLine(fault);
  // 8 x 8 pixels: 64 of index 1 and then one more.
  const std::string overrun = Bytes({0x0D, 0, 0, 0, 8, 0, 8, 0, 0xC0, 1, 0x01, 0x00, 0x00});
  const std::string beyond_palette = Bytes({0x0D, 0, 0, 0, 8, 0, 8, 0, 0xBF, 1, 0x81, 0xF0, 0x00});
  struct Case {
    const char* file;
    size_t offset;
    std::function<void(const fs::path&)> damage;
  };
  const Case cases[] = {
      {"CDATA/L_Genre.dat", 0, [](const fs::path& f) { test::WriteFile(f, test::ReadFile(f) + "x"); }},
      {"CDATA/L_MapPos.dat", 2, [](const fs::path& f) { Poke(f, 2, Bytes({0xFE})); }},
      {"CDATA/I_Block.dat", 3, [](const fs::path& f) { Poke(f, 3, Bytes({0x21})); }},
      {"CDATA/C_List1.dat", 2 + 66,
       [](const fs::path& f) {
         Poke(f, 2 + 66, Bytes({0xF0, 0xFF}));
       }},
      {"CDATA/C_List2.dat", 4,
       [](const fs::path& f) {
         Poke(f, 4, Bytes({0x77, 0x77}));
       }},
      {"CDATA/L_BlkTop1.dat", 6,
       [](const fs::path& f) {
         Poke(f, 6, Bytes({0x40, 0}));
       }},
      {"CDATA/M1Map0.dat", 2,
       [](const fs::path& f) {
         Poke(f, 2, Bytes({0x00, 0x10}));
       }},
      {"CDATA/L_Page1.dat", 0,
       [](const fs::path& f) { fs::remove(f.parent_path().parent_path() / "PDATA1/0002.gdc"); }},
      {"PDATA1/0003.gdc", 10, [&](const fs::path& f) { test::WriteFile(f, overrun); }},
      {"PDATA1/0004.gdc", 11, [&](const fs::path& f) { test::WriteFile(f, beyond_palette); }},
      {"MDATA/MAP1E123mini.dat", 4 + 65, [](const fs::path& f) { Poke(f, 4 + 65, Bytes({0xF0})); }},
      {"SYSTEM/Palette.pal", 0, [](const fs::path& f) { test::WriteFile(f, test::ReadFile(f).substr(0, 510)); }},
      {"SYSTEM/GrpSize.dat", 0, [](const fs::path& f) { test::WriteFile(f, test::ReadFile(f) + "x"); }},
      {"CheckList/Check1.dat", 0,
       [](const fs::path& f) {
         Poke(f, 0, Bytes({0xFF, 0xFF}));
       }},
      {"CheckList/Check2.dat", 2,
       [](const fs::path& f) {
         Poke(f, 0, Bytes({1, 0, 0xF0, 0xFF, 1, 1}));
       }},
      {"CheckList/C_Memo1.dat", 2 + 159, [](const fs::path& f) { Poke(f, 2 + 159, "a"); }},
      {"CheckList/D_Buy3.dat", 0,
       [](const fs::path& f) {
         Poke(f, 0, Bytes({0x23, 0}));
       }},
  };
  for (const Case& c : cases) {
    const fs::path set = Copy();
    c.damage(set / c.file);
    const std::vector<DataSetFault> faults = CheckDataSet(set);
    ASSERT_FALSE(faults.empty()) << c.file;
    EXPECT_EQ(faults.front().file.generic_string(), c.file) << FaultLine(faults.front());
    EXPECT_EQ(faults.front().offset, c.offset) << FaultLine(faults.front());
  }
}

TEST_F(DataSetTools, CheckCommandExitsByWhatItFinds) {
  test::CliResult r =
      test::RunCli("check " + Quote(Sound().string()) + " --against " + Quote(Workspace().string()), work_);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const fs::path set = Copy();
  Poke(set / "CDATA/DEF.dat", 5, "?");
  r = test::RunCli("check " + Quote(set.string()) + " --against " + Quote(Workspace().string()), work_);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("CDATA/DEF.dat: オフセット 5: 作業フォルダと違います"), std::string::npos) << r.out;
}

TEST(DataSetShow, HandBuiltGdcBecomesThosePixels) {
  test::TempDir dir;
  // Row 0: seven white and one red; then one blue and a run of 55 white across the rows.
  test::WriteFile(dir.path() / "PDATA1/0001.gdc",
                  Bytes({0x10, 0, 0, 0, 8, 0, 8, 0, 0x87, 0x01, 0x02, 0x81, 0x03, 0xB7, 0x01, 0x00}));
  TableBuilder palette(false);
  palette.U16(0).U16(0x7FFF).U16(0x001F).U16(0x7C00).Bytes(std::string(2 * 252, '\0'));
  test::WriteFile(dir.path() / "SYSTEM/Palette.pal", palette.bytes());
  const test::CliResult r = test::RunCli(
      "show " + Quote((dir.path() / "PDATA1/0001.gdc").string()) + " " + Quote((dir.path() / "p.png").string()), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  const Bitmap png = LoadPngToBitmap(dir.path() / "p.png");
  ASSERT_EQ(png.width, 8);
  ASSERT_EQ(png.height, 8);
  auto bgr = [&](int x, int y) {
    const uint8_t* p = png.Row(y) + x * png.channels;
    return std::string{static_cast<char>(p[0]), static_cast<char>(p[1]), static_cast<char>(p[2])};
  };
  const std::string white = Bytes({255, 255, 255}), red = Bytes({0, 0, 255}), blue = Bytes({255, 0, 0});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::string expected = x == 7 && y == 0 ? red : x == 0 && y == 1 ? blue : white;
      EXPECT_EQ(test::Hex(bgr(x, y)), test::Hex(expected)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace dw
