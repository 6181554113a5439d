// Recognising a data set folder and the one inside a chosen folder.
#include "dataset/layout.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

TEST(DataSetFolder, HeldByTheEventHeaderAndFoundInsideTheChosenFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "card" / "zavo_ds" / "CDATA" / "DEF.dat", "");
  fs::create_directories(dir / "card" / "other" / "CDATA" / "DEF.dat");  // a folder, not the header
  EXPECT_TRUE(HoldsDataSet(dir / "card" / "zavo_ds"));
  EXPECT_FALSE(HoldsDataSet(dir / "card"));
  EXPECT_FALSE(HoldsDataSet(dir / "card" / "other"));
  EXPECT_EQ(DataSetFolderIn(dir / "card"), dir / "card" / "zavo_ds");
  EXPECT_EQ(DataSetFolderIn(dir / "card" / "other"), std::nullopt);
}

}  // namespace
}  // namespace dw
