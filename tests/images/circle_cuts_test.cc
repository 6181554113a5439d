#include "images/circle_cuts.h"

#include <gtest/gtest.h>

#include <set>

#include "support/image_fixtures.h"

namespace dw {
namespace {

TEST(CircleCuts, PageNames) {
  EXPECT_EQ(PageImageName(2), "0002.png");
  EXPECT_EQ(PageImageName(123), "0123.png");
  EXPECT_EQ(PageImageName(1801), "1801.png");
  EXPECT_EQ(PageGdcName(14), "0014.gdc");
}

// The plan as "page:switch/day" strings.
std::vector<std::string> Steps(const std::vector<uint16_t>& starts, const std::set<int>& pages) {
  const CircleCutPlan plan = PlanCircleCuts(starts, [&](int n) { return pages.count(n) > 0; });
  std::vector<std::string> out;
  for (const PageStep& s : plan.steps) {
    out.push_back(std::to_string(s.page) + ":" + std::to_string(s.switch_to_day) + "/" + std::to_string(s.convert_day));
  }
  return out;
}

TEST(CircleCuts, DaysSwitchAtTheirStartPages) {
  EXPECT_EQ(Steps({2, 4, 6}, {2, 3, 4, 5, 6, 7}),
            (std::vector<std::string>{"2:1/1", "3:0/1", "4:2/2", "5:0/2", "6:3/3", "7:0/3"}));
  // The switch happens at the start number even when that page has no image.
  EXPECT_EQ(Steps({2, 5}, {2, 3, 7}), (std::vector<std::string>{"2:1/1", "3:0/1", "5:2/0", "7:0/2"}));
}

TEST(CircleCuts, PagesBeforeTheFirstDayAreSkipped) {
  EXPECT_EQ(Steps({4}, {2, 3, 4, 5}), (std::vector<std::string>{"2:0/0", "3:0/0", "4:1/1", "5:0/1"}));
  EXPECT_EQ(Steps({}, {2, 3}), (std::vector<std::string>{"2:0/0", "3:0/0"}));
}

TEST(CircleCuts, DaysBeyondTheLastPageOrOutOfOrderGetNoFolder) {
  // Start 11 = last + 1 still switches; 30 is never reached.
  EXPECT_EQ(Steps({2, 11, 30}, {2, 10}), (std::vector<std::string>{"2:1/1", "10:0/1", "11:2/0"}));
  // Day 2 starts at 1, which is never visited, so day 3 (at 4) never switches either.
  EXPECT_EQ(Steps({2, 1, 4}, {2, 4, 5}), (std::vector<std::string>{"2:1/1", "4:0/1", "5:0/1"}));
}

TEST(CircleCuts, MoreDaysThanSevenAreAllUsed) {
  const std::vector<std::string> steps = Steps({2, 3, 4, 5, 6, 7, 8, 9, 10}, {2, 3, 4, 5, 6, 7, 8, 9, 10});
  ASSERT_EQ(steps.size(), 9u);
  EXPECT_EQ(steps[8], "10:9/9");
}

TEST(CircleCuts, PageRangeIsTwoTo1800With1801OnlyAfter1800) {
  std::set<int> all;
  for (int n = 0; n <= 1802; ++n) all.insert(n);
  CircleCutPlan plan = PlanCircleCuts({2}, [&](int n) { return all.count(n) > 0; });
  EXPECT_EQ(plan.count, 1799);  // 2..1800
  EXPECT_EQ(plan.steps.front().page, 2);
  EXPECT_EQ(plan.steps.back().page, 1801);
  EXPECT_EQ(plan.steps.back().convert_day, 1);
  plan = PlanCircleCuts({2}, [](int n) { return n == 1799 || n == 1801; });
  EXPECT_EQ(plan.count, 1);
  EXPECT_EQ(plan.last, 1799);
  EXPECT_EQ(plan.steps.back().page, 1799);
  plan = PlanCircleCuts({2}, [](int) { return false; });
  EXPECT_EQ(plan.last, 0);
  EXPECT_TRUE(plan.steps.empty());
}

TEST(CircleCuts, HalvedPageIsEvenHalfAndPaddedToEight) {
  const Bitmap page = HalvedPage(Bitmap(301, 450, 1, 0));
  EXPECT_EQ(page.width, 152);
  EXPECT_EQ(page.height, 232);
  EXPECT_EQ(page.Row(0)[150], 127);  // half black, half the added white column
  EXPECT_EQ(page.Row(0)[151], 255);  // padding
  EXPECT_EQ(page.Row(224)[10], 0);
  EXPECT_EQ(page.Row(225)[10], 255);
}

TEST(CircleCuts, OnePixelPageBecomesAnEightByEightImage) {
  Bitmap dot(1, 1, 1, 0);
  const Bitmap page = HalvedPage(dot);
  ASSERT_EQ(page.width, 8);
  ASSERT_EQ(page.height, 8);
  // (0 + 255 * 0.999999 + 255 * 0.999999 + 255 * 0.999998) / 4 = 191.2 -> 191.
  EXPECT_EQ(page.pixels[0], 191);
  EXPECT_EQ(std::count(page.pixels.begin(), page.pixels.end(), 255), 63);
}

TEST(CircleCuts, ConvertRunsCoverThePaddedImage) {
  test::TempDir dir;
  test::WritePng(dir / "0002.png", test::PatternPage(40, 30, 1));
  ConvertScratch scratch;
  ColourRuns runs;
  CircleCut_Convert(dir / "0002.png", scratch, runs);
  EXPECT_EQ(runs.width, 24);
  EXPECT_EQ(runs.height, 16);
  uint64_t total = 0;
  for (const ColourRun& r : runs.runs) total += r.length;
  EXPECT_EQ(total, 24u * 16u);
  EXPECT_EQ(runs.first_seen.front(), runs.runs.front().colour);
  // The scratch canvases and the run list are reused: a page that fills them black, then a
  // smaller page of the same padded size, whose padding must come out white again.
  test::WritePng(dir / "0003.png", Bitmap(48, 32, 1, 0));
  CircleCut_Convert(dir / "0003.png", scratch, runs);
  ASSERT_EQ(runs.runs.size(), 1u);
  EXPECT_EQ(runs.first_seen.size(), 1u);
  test::WritePng(dir / "0004.png", Bitmap(42, 30, 1, 0));
  CircleCut_Convert(dir / "0004.png", scratch, runs);
  ASSERT_EQ(runs.width, 24);
  ASSERT_EQ(runs.runs.size(), 30u);  // per row 21 black and 3 white; the last row joins the white
  EXPECT_EQ(runs.first_seen.size(), 2u);
  EXPECT_EQ(runs.runs[1].length, 3u);
  EXPECT_EQ(runs.runs.back().length, 3u + 24u);
  // Odd pages of one even size: the white row added to the second must not keep the first's ink.
  test::WritePng(dir / "0005.png", Bitmap(41, 30, 1, 0));
  test::WritePng(dir / "0006.png", Bitmap(41, 29, 1, 0));
  CircleCut_Convert(dir / "0005.png", scratch, runs);
  CircleCut_Convert(dir / "0006.png", scratch, runs);
  ConvertScratch fresh;
  ColourRuns expected;
  CircleCut_Convert(dir / "0006.png", fresh, expected);
  ASSERT_EQ(runs.runs.size(), expected.runs.size());
  for (size_t i = 0; i < runs.runs.size(); ++i) {
    EXPECT_EQ(runs.runs[i].colour, expected.runs[i].colour) << i;
    EXPECT_EQ(runs.runs[i].length, expected.runs[i].length) << i;
  }
}

}  // namespace
}  // namespace dw
