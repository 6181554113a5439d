// A memory card for the card tests: a FAT32 image mounted in user space (fusefat), or a
// size-limited tmpfs. Both need root; a test skips with the reason when mounting is not possible.
// The card is unmounted when the object goes, also when the test fails.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace dw::test {

class TestCard {
 public:
  enum class Kind { kFat32, kTmpfs };
  // Mounts a new card of `megabytes` below `dir` (FAT32 needs at least 34).
  TestCard(Kind kind, const std::filesystem::path& dir, int megabytes);
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
  // FAT32 only: waits for the pulled card's driver to end and mounts the image again.
  bool Remount();
  // Fills the card's free space with a file; returns false when nothing could be written.
  bool Fill();

 private:
  bool MountFat();
  void Unmount();

  Kind kind_;
  std::filesystem::path root_, image_;
  std::string skip_reason_;
  pid_t driver_ = -1;  // the FAT driver, run in the foreground as our child
  bool mounted_ = false;
};

}  // namespace dw::test
