// A memory card for the card tests: a FAT32 image mounted in user space (fusefat), or a
// size-limited tmpfs. Both need root; a test skips with the reason when mounting is not possible.
// The card is unmounted when the object goes, also when the test fails.
#pragma once

#include <filesystem>
#include <string>
#include <vector>
#include <sys/types.h>

namespace dw::test {

class TestCard {
 public:
  enum class Kind { kFat32, kTmpfs };
  // Mounts a new card of `megabytes` below `dir` (FAT32 needs at least 34).
  TestCard(Kind kind, const std::filesystem::path& dir, int megabytes);
  // Mounts the FAT32 image `image` below `dir` (read-only unless `writable`).
  TestCard(const std::filesystem::path& dir, const std::filesystem::path& image, bool writable);
  ~TestCard();
  TestCard(const TestCard&) = delete;
  TestCard& operator=(const TestCard&) = delete;

  // Empty when the card is mounted, else why not.
  const std::string& skip_reason() const { return skip_reason_; }
  // The mount point: the card's root folder.
  const std::filesystem::path& root() const { return root_; }
  // FAT32 only: the image file behind the mount, to change the card "on the device".
  const std::filesystem::path& image() const { return image_; }

  // The card pulled out: a lazy unmount while a run may still hold it open.
  void Pull();
  // FAT32 only: waits for the pulled card's driver to end and mounts the image again, the driver
  // run with `driver_env` ("NAME=value") added to its environment.
  bool Remount(const std::vector<std::string>& driver_env = {});
  // Unmounts the card and waits for its driver to end (FAT32: every write is in the image).
  void Unmount();
  // Fills the card's free space with a file; returns false when nothing could be written.
  bool Fill();

 private:
  bool MountFat(const std::vector<std::string>& driver_env = {});

  Kind kind_;
  std::filesystem::path root_, image_;
  std::string skip_reason_;
  pid_t driver_ = -1;  // the FAT driver, run in the foreground as our child
  bool mounted_ = false;
  bool writable_ = true;
};

}  // namespace dw::test
