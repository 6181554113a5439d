// Crashes at any write of the FAT driver: the driver's writes to a FAT32 card image are logged in
// order during one conversion, and the card is rebuilt as it is when the driver stops after write
// k: DW_CRASH_POINTS points (6 by default), half spread over all writes, half over the writes that
// free clusters (the windows where a file's clusters and its directory entry disagree). At every point the visitor's check,
// memo and purchase bytes must be on the card, in place or in a whole backup; the next conversion
// must leave the new set byte for byte, no staging folder, and no damage fsck.fat did not see
// before.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "dataset/check_files.h"
#include "e2e/test_card.h"
#include "support/checklist_fixtures.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::TestCard;

struct Write {
  uint64_t offset;
  std::string bytes;
};

std::vector<Write> ReadWriteLog(const fs::path& log) {
  const std::string text = test::ReadFile(log);
  std::vector<Write> writes;
  for (size_t at = 0; at + 12 <= text.size();) {
    Write w;
    uint32_t length = 0;
    std::memcpy(&w.offset, text.data() + at, 8);
    std::memcpy(&length, text.data() + at + 8, 4);
    w.bytes = text.substr(at + 12, length);
    at += 12 + length;
    writes.push_back(std::move(w));
  }
  return writes;
}

// fsck.fat -n: the exit status (0 clean) and the report.
std::pair<int, std::string> Fsck(const fs::path& image, const fs::path& report) {
  const int raw = std::system(("fsck.fat -n " + test::Quote(image.string()) + " >" + test::Quote(report.string()) +
                               " 2>&1").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(report)};
}

using Files = test::Files;

// The visitor's files and the tables the export needs to read them, as they were before the run.
struct Visitor {
  Files checks;  // CheckList/<name>
  Files tables;  // CDATA/DEF.dat, CDATA/L_DayTop.dat, DataFull/...
};

// In place in ZAVO_DS, or in one backup folder holding them with the tables.
bool VisitorDataOnCard(const fs::path& root, const Visitor& v) {
  auto holds = [&](const fs::path& set, const Files& files) {
    for (const auto& [name, bytes] : files) {
      std::error_code ec;
      if (!fs::is_regular_file(set / name, ec) || test::ReadFile(set / name) != bytes) return false;
    }
    return true;
  };
  if (holds(root / "ZAVO_DS", v.checks)) return true;
  std::error_code ec;
  for (auto it = fs::directory_iterator(root / "ZAVO_DS_CheckList_backup", ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    if (holds(it->path(), v.checks) && holds(it->path(), v.tables)) return true;
  }
  return false;
}

class CrashPoints : public ::testing::TestWithParam<const char*> {
 protected:
  std::string Convert(const fs::path& dest, const std::string& mode) {
    const test::CliResult r = test::RunCli(test::Words({"convert", test::SampleCatalog().string(), dest.string(),
                                                        "--mode", mode, "--workspace", (dir_ / "WS").string()}),
                                           dir_);
    return r.status == 0 ? "" : r.out + r.err;
  }
  test::TempDir dir_;
};

TEST_P(CrashPoints, TheVisitorsDataSurvivesAndTheNextRunRepairs) {
  const std::string name = GetParam();
  const bool another_event = name == "AnotherEvent", images_only = name == "ImagesOnlyAfterData";
  const std::string mode = images_only ? "images" : "all";
  auto card = std::make_unique<TestCard>(TestCard::Kind::kFat32, dir_.path(), 34);
  if (!card->skip_reason().empty()) GTEST_SKIP() << card->skip_reason();
  const fs::path root = card->root(), set = root / "ZAVO_DS";
  ASSERT_EQ(Convert(root, images_only ? "data" : "all"), "");

  // The handheld's writes: a check, a memo, a purchase (each a new file, as the driver loses bytes
  // when it truncates a file it rewrites in place).
  Visitor visitor;
  std::string memo = test::ReadFile(set / "CheckList" / "C_Memo2.dat"), buy = test::ReadFile(set / "CheckList" / "D_Buy1.dat");
  memo[10] = 'x';
  buy[3] = 1;
  visitor.checks = {{"CheckList/Check1.dat", test::HandheldCheckFile({{3, kVisitedFlag, 2}})},
                    {"CheckList/C_Memo2.dat", memo}, {"CheckList/D_Buy1.dat", buy}};
  if (another_event) {
    std::string def = test::ReadFile(set / "CDATA" / "DEF.dat");
    def.back() ^= 1;
    visitor.checks["CDATA/DEF.dat"] = def;
  }
  for (const auto& [file, bytes] : visitor.checks) {
    fs::remove(set / file);
    test::WriteFile(set / file, bytes);
  }
  if (another_event) visitor.checks.erase("CDATA/DEF.dat");
  for (const auto& [file, bytes] : test::Snapshot(set)) {
    if (file.rfind("DataFull/", 0) == 0 || file == "CDATA/DEF.dat" || file == "CDATA/L_DayTop.dat") {
      visitor.tables[file] = bytes;
    }
  }

  // The logged run.
  card->Unmount();
  const fs::path base = dir_ / "base.img", log = dir_ / "writes.log";
  fs::copy_file(card->image(), base);
  ASSERT_TRUE(card->Remount({"LD_PRELOAD=" DW_CRASH_SHIM_PATH, "DW_CRASH_IMAGE=" + card->image().string(),
                             "DW_CRASH_LOG=" + log.string()}));
  ASSERT_EQ(Convert(root, mode), "");
  card->Unmount();
  const std::vector<Write> writes = ReadWriteLog(log);
  ASSERT_GT(writes.size(), 100u);

  // Every write replayed gives the final image: the log is whole and in order.
  const fs::path work = dir_ / "work.img", point = dir_ / "point.img";
  fs::copy_file(base, work);
  std::fstream image(work, std::ios::in | std::ios::out | std::ios::binary);
  size_t applied = 0;
  auto apply_up_to = [&](size_t k) {
    for (; applied < k; ++applied) {
      image.seekp(static_cast<std::streamoff>(writes[applied].offset));
      image.write(writes[applied].bytes.data(), static_cast<std::streamsize>(writes[applied].bytes.size()));
    }
    image.flush();
  };
  apply_up_to(writes.size());
  ASSERT_TRUE(test::ReadFile(work) == test::ReadFile(card->image()));
  card.reset();
  image.close();
  fs::copy_file(base, work, fs::copy_options::overwrite_existing);
  image.open(work, std::ios::in | std::ios::out | std::ios::binary);
  applied = 0;

  const Files ws = test::Snapshot(dir_ / "WS");
  // Writes that free clusters (a FAT entry going from used to 0): the driver frees a file's
  // clusters before its directory entry changes, so these open the narrow windows. The FAT region
  // follows the reserved sectors; it spans number of FATs x FAT size sectors.
  const std::string boot = test::ReadFile(base).substr(0, 512);
  auto u16 = [&](size_t at) { return uint64_t(uint8_t(boot[at])) | uint64_t(uint8_t(boot[at + 1])) << 8; };
  const uint64_t fat_start = u16(14) * u16(11);
  const uint64_t fat_end = fat_start + uint64_t(uint8_t(boot[16])) * (u16(36) | u16(38) << 16) * u16(11);
  std::string fats = test::ReadFile(base).substr(fat_start, fat_end - fat_start);
  std::vector<size_t> after_free;
  for (size_t i = 0; i < writes.size(); ++i) {
    const Write& w = writes[i];
    if (w.offset < fat_start || w.offset + w.bytes.size() > fat_end) continue;
    bool frees = false;
    for (size_t at = (w.offset - fat_start + 3) / 4 * 4; at + 4 <= w.offset - fat_start + w.bytes.size(); at += 4) {
      const size_t in = at - (w.offset - fat_start);
      frees = frees || (fats.compare(at, 4, std::string(4, '\0')) != 0 && w.bytes.compare(in, 4, std::string(4, '\0')) == 0);
    }
    fats.replace(w.offset - fat_start, w.bytes.size(), w.bytes);
    if (frees) after_free.push_back(i + 1);
  }
  const char* env = std::getenv("DW_CRASH_POINTS");
  const size_t points = env ? std::max(2, std::atoi(env)) : 6;
  std::vector<size_t> crashes;
  for (size_t i = 0; i < points; ++i) {
    crashes.push_back(i % 2 || after_free.empty() ? (i + 1) * writes.size() / (points + 1)
                                                  : after_free[i * after_free.size() / points]);
  }
  std::sort(crashes.begin(), crashes.end());
  int lost = 0, unrepaired = 0, unclean = 0, moved_aside = 0;
  for (const size_t k : crashes) {
    SCOPED_TRACE("crash after write " + std::to_string(k) + " of " + std::to_string(writes.size()));
    apply_up_to(k);
    fs::copy_file(work, point, fs::copy_options::overwrite_existing);
    const auto [crashed_status, crashed_report] = Fsck(point, dir_ / "fsck.txt");
    unclean += crashed_status == 0 ? 0 : 1;
    bool whole = false;
    {
      TestCard crashed(dir_ / "ro", point, false);
      ASSERT_EQ(crashed.skip_reason(), "");
      whole = VisitorDataOnCard(crashed.root(), visitor);
    }
    EXPECT_TRUE(whole) << "the visitor's data is lost";
    lost += whole ? 0 : 1;

    std::string failure;
    {
      TestCard next(dir_ / "rw", point, true);
      ASSERT_EQ(next.skip_reason(), "");
      failure = Convert(next.root(), mode);
      const Files now = test::Snapshot(next.root() / "ZAVO_DS");
      for (const auto& [file, bytes] : ws) {
        const auto it = now.find(file);
        const bool kept = !another_event && visitor.checks.count(file) && it != now.end() && it->second == visitor.checks.at(file);
        if (it == now.end() || (it->second != bytes && !kept)) failure += " " + file + " is not the new one;";
      }
      if (!VisitorDataOnCard(next.root(), visitor)) failure += " the visitor's data is lost;";
      if (fs::exists(next.root() / "ZAVO_DS.new")) failure += " the staging folder is left;";
      moved_aside += fs::exists(next.root() / "ZAVO_DS.damaged") ? 1 : 0;
    }
    const auto [status, report] = Fsck(point, dir_ / "fsck.txt");
    const bool corrupt = report.find("corrupt") != std::string::npos && crashed_report.find("corrupt") == std::string::npos;
    if ((crashed_status == 0 ? status != 0 : status > 1) || corrupt) failure += " fsck.fat after the repair: " + report;
    EXPECT_EQ(failure, "") << "fsck.fat of the crashed card: " << crashed_report;
    unrepaired += failure.empty() ? 0 : 1;
  }
  std::printf("[ crash points ] %s: %zu writes (%zu freeing clusters), %zu points, fsck.fat unclean at %d, data lost at %d, "
              "damaged files moved aside at %d, not repaired at %d\n",
              name.c_str(), writes.size(), after_free.size(), points, unclean, lost, moved_aside, unrepaired);
}

INSTANTIATE_TEST_SUITE_P(, CrashPoints, ::testing::Values("SameEvent", "AnotherEvent", "ImagesOnlyAfterData"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace dw
