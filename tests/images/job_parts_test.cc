// The job's helpers: day table, catalog folder look-ups and the ordered pipeline.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

#include "common/messages.h"
#include "support/image_fixtures.h"
#include "images/catalog_folder.h"
#include "images/day_table.h"
#include "images/ordered_pipeline.h"
#include "support/thrown.h"

namespace dw {
namespace {

TEST(DayTable, ReadsEveryRecordsStartPage) {
  test::TempDir dir;
  test::WriteDayStarts(dir.path(), {2, 8, 14, 20, 26, 32, 38, 44, 50});
  EXPECT_EQ(LoadDayTable(dir / "CDATA" / "L_Date.dat"),
            (std::vector<uint16_t>{2, 8, 14, 20, 26, 32, 38, 44, 50}));
  test::WriteDayStarts(dir.path(), {});
  EXPECT_TRUE(LoadDayTable(dir / "CDATA" / "L_Date.dat").empty());
  // The record bytes of the data tables: 2010-08-13, Friday, start page 0x0102.
  test::WriteFile(dir / "x.dat", test::Bytes({1, 0, 10, 8, 13, 4, 2, 1}));
  EXPECT_EQ(LoadDayTable(dir / "x.dat"), std::vector<uint16_t>{0x0102});
}

TEST(DayTable, MissingOrShortFileStopsWithAClearMessage) {
  test::TempDir dir;
  const test::ThrownError e = test::Thrown([&] { LoadDayTable(dir / "CDATA" / "L_Date.dat"); });
  const std::string m = e.what();
  EXPECT_NE(m.find("L_Date.dat"), std::string::npos) << m;
  EXPECT_NE(m.find("データと画像を変換"), std::string::npos) << m;
  test::WriteFile(dir / "short.dat", test::Bytes({3, 0, 10, 8, 13, 4, 2, 0}));
  EXPECT_THROW(LoadDayTable(dir / "short.dat"), Error);
  test::WriteFile(dir / "one.dat", test::Bytes({3}));
  EXPECT_THROW(LoadDayTable(dir / "one.dat"), Error);
}

TEST(CatalogFolder, ExactNameFirstThenAnyCase) {
  test::TempDir dir;
  test::WriteFile(dir / "0002.PNG", "a");
  test::WriteFile(dir / "0003.png", "b");
  test::WriteFile(dir / "0003.PNG", "c");
  test::WriteFile(dir / "0004.Png", "d");
  test::WriteFile(dir / "0004.pNG", "e");
  std::filesystem::create_directories(dir / "0005.png");
  const CatalogFolder folder(dir.path());
  EXPECT_EQ(folder.Find("0002.png"), dir / "0002.PNG");
  EXPECT_EQ(folder.Find("0003.png"), dir / "0003.png");
  EXPECT_EQ(folder.Find("0004.png"), dir / "0004.Png");  // first in name order
  EXPECT_FALSE(folder.Find("0005.png"));                 // a folder is no image
  EXPECT_EQ(folder.PathOf("0006.png"), dir / "0006.png");
  EXPECT_FALSE(CatalogFolder(dir / "none").Find("0002.png"));
}

TEST(OrderedPipeline, CommitsInOrderAfterEachPrepare) {
  for (int threads : {1, 2, 3, 8}) {
    constexpr size_t kCount = 200;
    std::vector<std::atomic<int>> prepared(kCount);
    std::vector<size_t> committed;
    std::atomic<int> ahead{0}, most_ahead{0};
    RunOrdered(
        kCount, threads, 5,
        [&](size_t i, int worker) {
          EXPECT_LE(worker, threads > 1 ? threads : 0);
          prepared[i]++;
          const int now = ++ahead;
          for (int seen = most_ahead; now > seen && !most_ahead.compare_exchange_weak(seen, now);) {
          }
        },
        [&](size_t i) {
          EXPECT_EQ(prepared[i], 1);
          --ahead;
          committed.push_back(i);
        });
    ASSERT_EQ(committed.size(), kCount);
    for (size_t i = 0; i < kCount; ++i) EXPECT_EQ(committed[i], i);
    EXPECT_LE(most_ahead, 6) << threads;  // the window, and the one being committed
  }
}

TEST(OrderedPipeline, FailureOfAPrepareStopsBeforeItsCommit) {
  for (int threads : {1, 2, 4}) {
    std::vector<size_t> committed;
    const test::ThrownError e = test::Thrown([&] {
      RunOrdered(
          100, threads, 4,
          [](size_t i, int) {
            if (i == 37) throw Error("page 37");
          },
          [&](size_t i) { committed.push_back(i); });
    });
    EXPECT_STREQ(e.what(), "page 37");
    EXPECT_EQ(committed.size(), 37u);
  }
}

TEST(OrderedPipeline, FailureOfACommitEndsTheRun) {
  std::atomic<int> prepared{0};
  EXPECT_THROW(RunOrdered(
                   1000, 3, 4, [&](size_t, int) { ++prepared; },
                   [](size_t i) {
                     if (i == 10) throw std::runtime_error("disk full");
                   }),
               std::runtime_error);
  EXPECT_LT(prepared, 20);
}

}  // namespace
}  // namespace dw
