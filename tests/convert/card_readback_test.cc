#include "convert/card_readback.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "dataset/check_files.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

// Pages of the open file `fd` (of `size` bytes) that are in memory.
size_t ResidentPages(int fd, size_t size) {
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  if (map == MAP_FAILED) return SIZE_MAX;
  const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> in_core((size + page - 1) / page);
  size_t resident = SIZE_MAX;
  if (::mincore(map, size, in_core.data()) == 0) {
    resident = 0;
    for (unsigned char c : in_core) resident += c & 1;
  }
  ::munmap(map, size);
  return resident;
}

// Writes a file and flushes it, as the copy leaves the card before the read-back.
void WriteFlushed(const fs::path& path, const std::string& bytes) {
  test::WriteFile(path, bytes);
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_EQ(::fsync(fd), 0);
  ::close(fd);
}

TEST(CardReadBack, ReadsFromTheDeviceFindsTheFirstDifferenceAndSkipsKeptCheckData) {
  test::TempDir dir;
  struct statfs fs_info {};
  ASSERT_EQ(::statfs(dir.path().c_str(), &fs_info), 0);
  if (fs_info.f_type == 0x01021994) GTEST_SKIP() << "tmpfs keeps no pages on a device to drop them for";
  const fs::path ws = dir.path() / "ws", set = dir.path() / "set";
  std::string big(1 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 / 5);
  test::WriteFile(ws / "PDATA1/0002.gdc", big);
  WriteFlushed(set / "PDATA1/0002.gdc", big);
  test::WriteFile(ws / "CheckList/Check1.dat", BuildCheckFile({}, 16));
  test::WriteFile(set / "CheckList/Check1.dat", BuildCheckFile({{5, 1, 2}}, 16));  // the visitor's, kept
  test::WriteFile(ws / "CDATA/DEF.dat.partial", "never sent");

  {
    const int fd = ::open((set / "PDATA1/0002.gdc").c_str(), O_RDONLY);
    ASSERT_GT(ResidentPages(fd, big.size()), 0u);  // cached after the write: the read-back must drop them
    ::close(fd);
  }
  CompareOptions options;
  std::vector<size_t> resident;
  options.before_read = [&](int fd) { resident.push_back(ResidentPages(fd, big.size())); };
  SetComparison result = CompareSetWithWorkspace(ws, set, options);
  EXPECT_EQ(result.differences.size(), 0u);
  EXPECT_EQ(result.files, 2u);
  ASSERT_EQ(resident.size(), 2u);
  EXPECT_EQ(resident[1], 0u);  // PDATA1/0002.gdc, after CheckList/Check1.dat

  big[300000] ^= 1;
  WriteFlushed(set / "PDATA1/0002.gdc", big);
  result = CompareSetWithWorkspace(ws, set, {});
  ASSERT_EQ(result.differences.size(), 1u);
  EXPECT_EQ(result.differences[0].relative, "PDATA1/0002.gdc");
  EXPECT_EQ(result.differences[0].offset, 300000u);
}

TEST(CardReadBack, SeveralThreadsKeepTheNameOrder) {
  test::TempDir dir;
  const fs::path ws = dir.path() / "ws", set = dir.path() / "set";
  for (int i = 0; i < 20; ++i) {
    const std::string name = "F/" + std::to_string(100 + i), bytes(1000 + i, static_cast<char>(i));
    test::WriteFile(ws / name, bytes);
    if (i != 12) test::WriteFile(set / name, i == 7 || i == 15 ? bytes + "x" : bytes);
  }
  CompareOptions options;
  options.threads = 3;
  options.stop_at_first = false;
  std::vector<size_t> progress;
  options.progress = [&](size_t done, size_t) { progress.push_back(done); };
  SetComparison result = CompareSetWithWorkspace(ws, set, options);
  ASSERT_EQ(result.differences.size(), 3u);
  EXPECT_EQ(result.differences[0].relative, "F/107");
  EXPECT_EQ(result.differences[1].relative, "F/112");
  EXPECT_EQ(result.differences[2].what, "カードの方が長くなっています");
  EXPECT_EQ(result.files, 17u);
  ASSERT_EQ(progress.size(), 21u);
  for (size_t i = 0; i < progress.size(); ++i) EXPECT_EQ(progress[i], i);

  options.stop_at_first = true;
  result = CompareSetWithWorkspace(ws, set, options);
  ASSERT_EQ(result.differences.size(), 1u);
  EXPECT_EQ(result.differences[0].relative, "F/107");
}

}  // namespace
}  // namespace dw
