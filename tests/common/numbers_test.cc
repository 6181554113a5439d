#include "common/numbers.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "support/thrown.h"

namespace dw {
namespace {

TEST(ParseInt, AcceptsSignsBlanksAndTrailingControlBytes) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt("  -7"), -7);
  EXPECT_EQ(ParseInt("+5"), 5);
  EXPECT_EQ(ParseInt("12 \t\r\x01"), 12);
  EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInt("2147483647"), INT32_MAX);
}

TEST(ParseInt, RejectsWithTheCellsText) {
  for (const char* bad : {"", "   ", "1a", "- 1", "--1", "0x10", "2147483648", "99999999999999999999", "1 2"}) {
    const test::ThrownError e = test::Thrown([&] { ParseInt(bad); });
    EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' は整数ではありません");
  }
}

TEST(ParseInt, MessageShowsShiftJisCellAsUtf8) {
  EXPECT_EQ(test::Thrown([] { ParseInt("\x82\xA0"); }).message, "'あ' は整数ではありません");  // あ
}

TEST(NameField, CutsByBytesAndAlwaysEndsWithNul) {
  EXPECT_EQ(NameField("abc", 5), std::string("abc\0\0", 5));
  EXPECT_EQ(NameField("abcd", 5), std::string("abcd\0", 5));
  EXPECT_EQ(NameField("abcdef", 5), std::string("abcd\0", 5));
  // A double-byte character cut in half keeps its lead byte.
  EXPECT_EQ(NameField("ab\x82\xA0", 4), std::string("ab\x82\0", 4));
  EXPECT_EQ(NameField("", 1), std::string(1, '\0'));
}

TEST(RightTrim, RemovesBytesUpToSpaceOnly) {
  EXPECT_EQ(RightTrim("a \t\r\n\x1f"), "a");
  EXPECT_EQ(RightTrim(" a"), " a");
  EXPECT_EQ(RightTrim("\x81\x40"), "\x81\x40");  // a full-width space stays
  EXPECT_EQ(RightTrim("   "), "");
}

}  // namespace
}  // namespace dw
