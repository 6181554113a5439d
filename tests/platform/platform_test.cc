// The operating-system seam: what the core relies on reads the same on every system.
#include <gtest/gtest.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/file.h"
#include "platform/folder.h"
#include "platform/utf8_path.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

TEST(PlatformFile, FaultsReportTheLinuxErrno) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "x");
  std::string bytes;
  EXPECT_EQ(platform::ReadWholeFileInto(dir.path(), bytes), EISDIR);
  EXPECT_EQ(platform::ReadWholeFileInto(dir / "file" / "below", bytes), ENOTDIR);
  EXPECT_EQ(platform::ReadWholeFileInto(dir / "missing", bytes), ENOENT);
  EXPECT_EQ(platform::WriteWholeFile(dir / "missing" / "new", "x", false), ENOENT);
}

TEST(PlatformFile, RenameOverReplacesAnExistingFile) {
  test::TempDir dir;
  ASSERT_EQ(platform::WriteWholeFile(dir / "old", "old", true), 0);
  ASSERT_EQ(platform::WriteWholeFile(dir / "new", "new bytes", false), 0);
  ASSERT_EQ(platform::RenameOver(dir / "new", dir / "old"), 0);
  EXPECT_EQ(test::ReadFile(dir / "old"), "new bytes");
  EXPECT_FALSE(fs::exists(dir / "new"));
}

// Blank layers and empty check files are mostly zeros, which the writer may leave as holes: every
// layout of zero and other blocks around the 64 KiB block edges reads back byte for byte.
TEST(PlatformFile, WholeFilesOfZeroBlocksReadBackByteForByte) {
  test::TempDir dir;
  constexpr size_t kBlock = 65536;
  const std::vector<std::pair<size_t, std::vector<size_t>>> layouts = {
      {0, {}},                       // empty
      {kBlock, {}},                  // one zero block, nothing else
      {kBlock - 1, {}},              // shorter than a block
      {3 * kBlock, {kBlock}},        // zero blocks around a written one
      {3 * kBlock + 5, {0}},         // ends in zero blocks and a zero tail
      {4 * kBlock + 7, {2 * kBlock - 1, 4 * kBlock + 6}},  // a byte just before a block edge, the last byte
  };
  for (const auto& [size, marks] : layouts) {
    std::string bytes(size, '\0');
    for (size_t at : marks) bytes[at] = 'x';
    ASSERT_EQ(platform::WriteWholeFile(dir / "f", bytes, false), 0) << size;
    EXPECT_EQ(test::ReadFile(dir / "f"), bytes) << size;
  }
  // Written over a longer file with other bytes, which the new one replaces whole.
  test::WriteFile(dir / "g", std::string(5 * kBlock, 'o'));
  const std::string zeros(2 * kBlock + 1, '\0');
  ASSERT_EQ(platform::WriteWholeFile(dir / "g", zeros, true), 0);
  EXPECT_EQ(test::ReadFile(dir / "g"), zeros);
}

// A file given its length first and written from an offset, as the card copy keeps holes.
TEST(PlatformFile, LengthenedFileReadsZerosUpToWhatIsWritten) {
  test::TempDir dir;
  const int folder = platform::OpenFolder(dir.path());
  const int out = platform::CreateFileAt(folder, "f");
  ASSERT_GE(out, 0);
  ASSERT_EQ(platform::Lengthen(out, 70000), 0);
  ASSERT_EQ(platform::Seek(out, 65536), 0);
  ASSERT_EQ(platform::Write(out, "x", 1), 1);
  ASSERT_EQ(platform::Close(out), 0);
  platform::Close(folder);
  std::string expected(70000, '\0');
  expected[65536] = 'x';
  EXPECT_EQ(test::ReadFile(dir / "f"), expected);
}

// Relative operations below a folder named in Japanese with a blank, as on a visitor's disk.
TEST(PlatformFolder, RelativeOperationsBelowAnOpenFolder) {
  test::TempDir dir;
  const fs::path root = dir.path() / PathFromUtf8("カード 1");
  fs::create_directories(root);
  const int folder = platform::OpenFolder(root);
  ASSERT_GE(folder, 0);
  ASSERT_EQ(platform::MakeFolderAt(folder, "作業"), 0);
  EXPECT_EQ(platform::MakeFolderAt(folder, "作業"), -1);
  EXPECT_EQ(errno, EEXIST);
  const int out = platform::CreateFileAt(folder, "作業/新しい.dat");
  ASSERT_GE(out, 0);
  ASSERT_EQ(platform::Write(out, "abc", 3), 3);
  ASSERT_EQ(platform::Close(out), 0);
  test::WriteFile(root / PathFromUtf8("作業/古い.dat"), "old");
  ASSERT_EQ(platform::RenameAt(folder, "作業/新しい.dat", "作業/古い.dat"), 0);
  EXPECT_EQ(test::ReadFile(root / PathFromUtf8("作業/古い.dat")), "abc");

  platform::EntryStatus status;
  ASSERT_EQ(platform::StatusAt(folder, "作業/古い.dat", status), 0);
  EXPECT_TRUE(status.regular);
  EXPECT_EQ(status.size, 3u);
  EXPECT_EQ(platform::StatusAt(folder, "無い", status), -1);
  EXPECT_EQ(errno, ENOENT);
  const int sub = platform::OpenFolderAt(folder, "作業");
  ASSERT_GE(sub, 0);
  std::vector<std::string> names;
  ASSERT_EQ(platform::ListFolder(sub, names), 0);
  EXPECT_EQ(names, std::vector<std::string>{"古い.dat"});
  EXPECT_EQ(platform::OpenFolderAt(sub, "古い.dat"), -1);
  EXPECT_EQ(errno, ENOTDIR);
  platform::Close(sub);

  platform::FolderIdentity opened, named;
  ASSERT_EQ(platform::IdentityOf(folder, opened), 0);
  ASSERT_EQ(platform::IdentityOfPath(root, named), 0);
  EXPECT_EQ(opened, named);
  ASSERT_EQ(platform::IdentityOfPath(root / PathFromUtf8("作業"), named), 0);
  EXPECT_FALSE(opened == named);
  platform::Close(folder);
}

TEST(PlatformFolder, LockIsExclusiveUntilClosed) {
  test::TempDir dir;
  const int first = platform::OpenFolder(dir.path());
  const int second = platform::OpenFolder(dir.path());
  ASSERT_EQ(platform::LockExclusive(first), 0);
  EXPECT_EQ(platform::LockExclusive(second), -1);
  EXPECT_EQ(errno, EWOULDBLOCK);
  platform::Close(first);
  EXPECT_EQ(platform::LockExclusive(second), 0);
  platform::Close(second);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace dw
