#include <gtest/gtest.h>

#include "catalog/table_writers.h"
#include "support/writer_fixture.h"

namespace dw {
namespace {

using test::CircleLine;
using test::Hex;
using test::Sjis;

class FullCircleText : public test::WriterTest {};

TEST_F(FullCircleText, OneLinePerRowHeadedByTheCircleNumber) {
  const std::string name = Sjis("サークル");
  RowTable rows = CircleRows({CircleLine({"10000", "1", "2", "3", "1", "", "AA", "01", "", name, "k", "", "", "",
                                          " note ", "desc"}),
                              "\tx" + std::string(11, '\t'), CircleLine({"7", "1", "2"})});
  WriteFullCircleText(rows, dir / "D_Full2.dat", 65535, st);
  EXPECT_EQ(Read("D_Full2.dat"),
            "65535\t10000\t1\t2\t3\t1\t\tAA\t01\t\t" + name + "\tk\t\t\t\t note \tdesc\r\n" +
                "65536\t0\tx" + std::string(14, '\t') + "\r\n" +  // the loader's "0" for an empty field 0
                "65537\t7\t1\t2" + std::string(13, '\t') + "\r\n");
  EXPECT_EQ(log.calls, (std::vector<std::string>{"max: 2", "position: 0", "position: 0", "position: 1",
                                                 "position: 2"}));
}

TEST_F(FullCircleText, RowWithoutCell15WritesNothing) {
  test::WriteFile(dir / "D_Full1.dat", "old");
  RowTable rows = CircleRows({CircleLine({"1"}), "0\t0\t1"});
  EXPECT_THROW(WriteFullCircleText(rows, dir / "D_Full1.dat", 0, st), Error);
  EXPECT_EQ(Read("D_Full1.dat"), "old");
}

TEST_F(FullCircleText, EmptyDayGivesAnEmptyFile) {
  WriteFullCircleText({}, dir / "D_Full1.dat", 5, st);
  EXPECT_TRUE(std::filesystem::exists(dir / "D_Full1.dat"));
  EXPECT_EQ(Read("D_Full1.dat"), "");
}

TEST_F(FullCircleText, ClosingFiles) {
  WriteMapMax(dir / "MLMax.dat", 0);
  EXPECT_EQ(Hex(Read("MLMax.dat")), "00 00");
  WriteMapMax(dir / "MLMax.dat", 70000);
  EXPECT_EQ(Hex(Read("MLMax.dat")), "70 11");
  WriteConfig(dir / "Config.dat");
  EXPECT_EQ(Hex(Read("Config.dat")), "00 00 00 00");
}

}  // namespace
}  // namespace dw
