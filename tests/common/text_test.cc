#include <gtest/gtest.h>

#include "common/messages.h"
#include "common/paths.h"
#include "common/sjis.h"
#include "common/text_lines.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitTextLines, LineEnds) {
  EXPECT_EQ(SplitTextLines("a\nb\r\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitTextLines("a\n"), (Lines{"a"}));
  EXPECT_EQ(SplitTextLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
  EXPECT_EQ(SplitTextLines("a\rb\n"), (Lines{"ab"}));  // lone CR dropped
  EXPECT_EQ(SplitTextLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(SplitTextLines("a\r\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitTextLines("a\nb\x1A" "c\nd"), (Lines{"a", "b"}));  // 0x1A ends the file
}

TEST(SplitTextLines, LoneCrEndsCsvLines) {
  EXPECT_EQ(SplitTextLines("a\rb\r\nc\nd\r", LoneCr::kEndsLine), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("\r\r", LoneCr::kEndsLine), (Lines{"", ""}));
}

TEST(ReadTextLines, MissingFileNamesReasonAndPath) {
  test::TempDir dir;
  const test::ThrownError e = test::Thrown([&] { ReadTextLines(dir / "none.txt"); });
  std::string m = e.what();
  EXPECT_EQ(m.rfind("ファイルが見つかりません", 0), 0u) << m;
  EXPECT_NE(m.find("none.txt"), std::string::npos) << m;
}

TEST(Sjis, DisplayConversionNeverFails) {
  EXPECT_EQ(Cp932ToUtf8("A\x82\xA0\\~"), "Aあ\\~");  // 0x5C and 0x7E stay ASCII
  EXPECT_EQ(Cp932ToUtf8("\xED\x40"), "纊");           // NEC-selected IBM extension
  EXPECT_EQ(Cp932ToUtf8("ab\x82"), "ab\xEF\xBF\xBD");  // lone lead byte at the end
  EXPECT_EQ(Cp932ToUtf8("\xA0x"), "\xEF\xBF\xBDx");  // undefined byte
  EXPECT_EQ(Cp932ToUtf8("\xB6\xDE"), "ｶﾞ");
  EXPECT_EQ(Utf8ToCp932("日本"), "\x93\xFA\x96\x7B");
  EXPECT_THROW(Utf8ToCp932("\xF0\x9F\x98\x80"), Error);  // emoji has no cp932 form
}

TEST(Paths, WildcardQuestionMarkIsOneCharacter) {
  EXPECT_TRUE(WildcardMatch("C??DEF.TXT", "C76DEF.TXT"));
  EXPECT_TRUE(WildcardMatch("C??DEF.TXT", "c76def.txt"));
  EXPECT_TRUE(WildcardMatch("C??DEF.TXT", "Cあ1DEF.TXT"));
  EXPECT_FALSE(WildcardMatch("C??DEF.TXT", "C7DEF.TXT"));
  EXPECT_FALSE(WildcardMatch("C??DEF.TXT", "C767DEF.TXT"));
  EXPECT_TRUE(WildcardMatch("*.png", "0001.PNG"));
}

TEST(Paths, FindIgnoringCasePrefersExactName) {
  test::TempDir dir;
  test::WriteFile(dir / "cdata" / "c76def.txt", "x");
  EXPECT_EQ(ResolveIgnoringCase(dir.path(), {"CDATA", "C76DEF.TXT"}), dir / "cdata" / "c76def.txt");
  const bool case_sensitive = !fs::exists(dir / "CDATA");
  test::WriteFile(dir / "CDATA" / "C76DEF.TXT", "y");
  if (case_sensitive) {
    EXPECT_EQ(ResolveIgnoringCase(dir.path(), {"CDATA", "C76DEF.TXT"}), dir / "CDATA" / "C76DEF.TXT");
  }
  EXPECT_EQ(ResolveIgnoringCase(dir.path(), {"MDATA", "x.png"}), dir / "MDATA" / "x.png");
}

}  // namespace
}  // namespace dw

namespace dw {
namespace {

// The slice-based splitter against a byte-at-a-time reference on random texts.
std::vector<std::string> ReferenceSplit(std::string_view bytes, LoneCr lone_cr) {
  if (size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) bytes = bytes.substr(0, eof);
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    bool crlf = c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    if (c == '\n' || (c == '\r' && !crlf && lone_cr == LoneCr::kEndsLine)) {
      lines.push_back(line);
      line.clear();
      open = false;
    } else if (c == '\r') {
      if (!crlf) open = true;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

TEST(SplitTextLines, MatchesReferenceOnRandomTexts) {
  uint32_t seed = 1;
  const char alphabet[] = {'a', 'b', '\r', '\n', '\x1A', '\t'};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    size_t len = (seed = seed * 1103515245 + 12345) % 24;
    for (size_t i = 0; i < len; ++i) {
      seed = seed * 1103515245 + 12345;
      text += alphabet[(seed >> 16) % (round % 2 ? 5 : 4 + ((seed >> 8) % 2))];
    }
    for (LoneCr mode : {LoneCr::kDrop, LoneCr::kEndsLine}) {
      EXPECT_EQ(SplitTextLines(text, mode), ReferenceSplit(text, mode)) << test::Hex(text);
    }
  }
}

}  // namespace
}  // namespace dw
