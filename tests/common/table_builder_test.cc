#include "common/table_builder.h"

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using test::Bytes;

TEST(TableBuilder, LittleEndianFieldsAndCount) {
  TableBuilder t;
  t.U8(0x1FF).U16(0x12345).U32(0xA1B2C3D4).Name("ab", 4).SetCount(0x10002);
  EXPECT_EQ(t.bytes(), Bytes({0x02, 0x00, 0xFF, 0x45, 0x23, 0xD4, 0xC3, 0xB2, 0xA1, 'a', 'b', 0, 0}));
  TableBuilder negative;
  negative.U16(static_cast<uint32_t>(-1));
  EXPECT_EQ(test::Hex(negative.bytes()), "00 00 FF FF");
}

TEST(AtomicSave, ReplacesWholeFileAndLeavesNoTemporary) {
  test::TempDir dir;
  AtomicSave(dir / "a.dat", "old content");
  AtomicSave(dir / "a.dat", "new");
  EXPECT_EQ(test::ReadFile(dir / "a.dat"), "new");
  EXPECT_FALSE(std::filesystem::exists(dir / "a.dat.partial"));
}

TEST(AtomicSave, FailureKeepsOldFileAndNamesThePath) {
  test::TempDir dir;
  test::WriteFile(dir / "notadir", "x");
  const test::ThrownError e = test::Thrown([&] { AtomicSave(dir / "notadir" / "a.dat", "bytes"); });
  std::string m = e.what();
  EXPECT_NE(m.find("a.dat"), std::string::npos) << m;
  EXPECT_NE(m.find("を作成できません"), std::string::npos) << m;
}

TEST(AtomicSave, StalePartialsAreRecognisedAndRemoved) {
  test::TempDir dir;
  test::WriteFile(dir / "CDATA" / "L_Map.dat.partial", "torn");
  test::WriteFile(dir / "CDATA" / "L_Map.dat", "whole");
  EXPECT_TRUE(IsPartialFile(dir / "CDATA" / "L_Map.dat.partial"));
  EXPECT_FALSE(IsPartialFile(dir / "CDATA" / "L_Map.dat"));
  EXPECT_EQ(RemoveStalePartials(dir.path()), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "CDATA" / "L_Map.dat.partial"));
  EXPECT_TRUE(std::filesystem::exists(dir / "CDATA" / "L_Map.dat"));
}

TEST(ReadWholeFile, MissingFileIsCannotOpen) {
  test::TempDir dir;
  const test::ThrownError e = test::Thrown([&] { ReadWholeFile(dir / "x.dat"); });
  std::string m = e.what();
  EXPECT_NE(m.find("は開けません"), std::string::npos) << m;
  EXPECT_NE(m.find("ファイルが見つかりません"), std::string::npos) << m;
}

TEST(ReadWholeFile, ReusedBufferHoldsExactlyEachFile) {
  test::TempDir dir;
  const std::string large(200000, 'x');
  test::WriteFile(dir / "large", large);
  test::WriteFile(dir / "small", "abc");
  test::WriteFile(dir / "empty", "");
  std::string buffer;
  ReadWholeFileInto(dir / "large", buffer);
  EXPECT_EQ(buffer, large);
  ReadWholeFileInto(dir / "small", buffer);
  EXPECT_EQ(buffer, "abc");
  ReadWholeFileInto(dir / "empty", buffer);
  EXPECT_EQ(buffer, "");
  EXPECT_THROW(ReadWholeFileInto(dir / "missing", buffer), Error);
}

TEST(ForceDirectories, FileInTheWayIsAnError) {
  test::TempDir dir;
  test::WriteFile(dir / "CDATA", "file");
  EXPECT_THROW(ForceDirectories(dir / "CDATA"), Error);
  ForceDirectories(dir / "a" / "b" / "c");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a" / "b" / "c"));
  ForceDirectories(dir / "a" / "b" / "c");  // existing: nothing happens
}

}  // namespace
}  // namespace dw

namespace dw {
namespace {

TEST(TableBuilder, CountAboveSixteenBitsIsRefusedOnSave) {
  test::TempDir dir;
  TableBuilder t;
  t.SetCount(65535).Save(dir / "ok.dat");
  EXPECT_EQ(test::Hex(test::ReadFile(dir / "ok.dat")), "FF FF");
  TableBuilder over;
  over.SetCount(65536);
  const test::ThrownError e = test::Thrown([&] { over.Save(dir / "C_List1.dat"); });
  EXPECT_TRUE(e.Contains("C_List1.dat")) << e.what();
  EXPECT_TRUE(e.Contains("65536")) << e.what();
  EXPECT_FALSE(std::filesystem::exists(dir / "C_List1.dat"));
}

}  // namespace
}  // namespace dw
