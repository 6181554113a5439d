#include "catalog/full_width.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace dw {
namespace {

using test::Bytes;
using test::Hex;
using test::Sjis;

// Expected full-width forms, in byte order of their single-byte originals.
const char* const kAsciiFullWidth =
    "！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ"
    "ＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～";
const char* const kKanaFullWidth =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    "マミムメモヤユヨラリルレロワン\u309B\u309C";

TEST(FullWidth, EveryPrintableAsciiByteAndTheSpace) {
  const std::string expected = Sjis(kAsciiFullWidth);
  ASSERT_EQ(expected.size(), 94u * 2);
  for (int b = 0x21; b <= 0x7E; ++b) {
    EXPECT_EQ(Hex(ToFullWidth(std::string(1, static_cast<char>(b)))), Hex(expected.substr((b - 0x21) * 2, 2)))
        << "byte " << b;
  }
  EXPECT_EQ(Hex(ToFullWidth(" ")), "81 40");
  // The codes the handheld shows for the characters cp932 treats specially.
  EXPECT_EQ(Hex(ToFullWidth("\\~\"'-")), "81 5F 81 60 FA 57 FA 56 81 7C");
  EXPECT_EQ(Hex(ToFullWidth("A1")), "82 60 82 50");
}

TEST(FullWidth, EveryHalfWidthKatakana) {
  const std::string expected = Sjis(kKanaFullWidth);
  ASSERT_EQ(expected.size(), 63u * 2);
  for (int b = 0xA1; b <= 0xDF; ++b) {
    EXPECT_EQ(Hex(ToFullWidth(std::string(1, static_cast<char>(b)))), Hex(expected.substr((b - 0xA1) * 2, 2)))
        << "byte " << b;
  }
}

TEST(FullWidth, VoicingMarksJoinWhereShiftJisHasTheCharacter) {
  EXPECT_EQ(ToFullWidth(Sjis("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ")),
            Sjis("ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ"));
  EXPECT_EQ(ToFullWidth(Sjis("ﾜﾞｱﾞｶﾟﾞﾟ")), Sjis("ワ\u309Bア\u309Bカ\u309C\u309B\u309C"));
  EXPECT_EQ(ToFullWidth(Sjis("ｻｰｸﾙﾊﾟﾝﾀﾞ")), Sjis("サークルパンダ"));
}

TEST(FullWidth, DoubleByteCharactersStayByteForByte) {
  // NEC and IBM duplicates that a cp932 round trip would rewrite.
  EXPECT_EQ(Hex(ToFullWidth(Bytes({0xED, 0x40, 0x87, 0x90, 0xFA, 0x5C}))), "ED 40 87 90 FA 5C");
  // A trail byte 0x5C or 0x41 is part of its character, not a single-byte character.
  EXPECT_EQ(Hex(ToFullWidth(Bytes({0x41, 0x83, 0x5C, 0x42, 0x82, 0x41}))), "82 60 83 5C 82 61 82 41");
  EXPECT_EQ(ToFullWidth(Sjis("東Ａ")), Sjis("東Ａ"));
}

TEST(FullWidth, OtherBytesStayAndNulEndsTheText) {
  EXPECT_EQ(Hex(ToFullWidth(Bytes({0x80, 0xA0, 0xFD, 0x01}))), "80 A0 FD 01");
  EXPECT_EQ(Hex(ToFullWidth(Bytes({0x41, 0x82}))), "82 60 82");  // a lone lead byte at the end
  EXPECT_EQ(Hex(ToFullWidth(std::string("A\0B", 3))), "82 60");
  EXPECT_EQ(ToFullWidth(""), "");
}

}  // namespace
}  // namespace dw
