// Kills a running conversion at random moments and checks that every file it touches is absent,
// its old content, or its complete new content.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "common/atomic_file.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using test::Snapshot;

pid_t StartConvert(const fs::path& dest, const fs::path& workspace) {
  fs::create_directories(dest);
  pid_t pid = ::fork();
  if (pid == 0) {
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::string source = test::SampleCatalog().string(), d = dest.string(), w = workspace.string();
    ::execl(DW_CLI_PATH, DW_CLI_PATH, "convert", source.c_str(), d.c_str(), "--mode", "all", "--workspace",
            w.c_str(), "--threads", "2", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

TEST(KillDuringConversion, EveryFileIsAbsentOldOrComplete) {
  test::TempDir dir;
  // Reference: the complete output of one undisturbed run.
  const auto t0 = Clock::now();
  pid_t ref = StartConvert(dir / "ref-dest", dir / "ref-ws");
  int status = 0;
  ::waitpid(ref, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const auto run_time = Clock::now() - t0;
  const auto complete_ws = Snapshot(dir / "ref-ws");
  const auto complete_dest = Snapshot(dir / "ref-dest");
  ASSERT_FALSE(complete_dest.empty());

  std::mt19937 rng(12345);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(run_time).count());
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    fs::path ws = dir / ("ws" + std::to_string(round)), dest = dir / ("dest" + std::to_string(round));
    // Old content: every file the run writes already exists with other bytes.
    for (auto& [name, bytes] : complete_ws) test::WriteFile(ws / name, "old " + name);
    for (auto& [name, bytes] : complete_dest) test::WriteFile(dest / name, "old " + name);

    pid_t pid = StartConvert(dest, ws);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(rng)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);

    auto check = [](const std::map<std::string, std::string>& now,
                    const std::map<std::string, std::string>& complete, const char* where) {
      for (auto& [name, bytes] : now) {
        // A temporary file or the staging folder of the card copy; the next run removes them.
        if (IsPartialFile(name) || name.rfind("ZAVO_DS.new/", 0) == 0) continue;
        // A backup of the old check files (they differ from the new event's): complete old bytes.
        if (name.rfind("ZAVO_DS_CheckList_backup/", 0) == 0) {
          const std::string rest = name.substr(name.find('/', name.find('/') + 1) + 1);
          EXPECT_EQ(bytes, "old ZAVO_DS/" + rest) << where << ": torn backup " << name;
          continue;
        }
        auto it = complete.find(name);
        ASSERT_NE(it, complete.end()) << where << ": unexpected file " << name;
        EXPECT_TRUE(bytes == "old " + name || bytes == it->second) << where << ": torn file " << name;
      }
    };
    check(Snapshot(ws), complete_ws, "workspace");
    check(Snapshot(dest), complete_dest, "destination");
  }
}

TEST(KillDuringConversion, NextRunRemovesStaleTemporaryFilesAndNeverCopiesThem) {
  test::TempDir dir;
  test::WriteFile(dir / "ws" / "CDATA" / "L_Block.dat.partial", "torn");
  test::WriteFile(dir / "ws" / "MDATA" / "x.gdc.partial", "torn");
  test::WriteFile(dir / "dest" / "ZAVO_DS.new" / "CDATA" / "L_Block.dat", "staged by a killed run");
  pid_t pid = StartConvert(dir / "dest", dir / "ws");
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (auto& [name, bytes] : Snapshot(dir / "ws")) EXPECT_FALSE(IsPartialFile(name)) << name;
  for (auto& [name, bytes] : Snapshot(dir / "dest")) EXPECT_FALSE(IsPartialFile(name)) << name;
  EXPECT_FALSE(fs::exists(dir / "dest" / "ZAVO_DS.new"));
}

}  // namespace
}  // namespace dw
