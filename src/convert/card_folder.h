// The destination folder on the memory card, held open for the whole run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "common/messages.h"
#include "platform/folder.h"

namespace dw {

struct CardSpace {
  uint64_t free_bytes = 0;
  uint64_t unit = 512;  // allocation unit (cluster) size
};

class CardFolder {
 public:
  // Opens `destination`, which must be an existing folder: it is never created, so a card that is
  // not there cannot turn into a folder on the local disk. Throws dw::Error.
  explicit CardFolder(const std::filesystem::path& destination);
  ~CardFolder();
  CardFolder(const CardFolder&) = delete;
  CardFolder& operator=(const CardFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Every write onto the card goes relative to this descriptor: after the card is pulled out it
  // can never reach the bare mount-point folder of the local disk.
  int fd() const { return fd_; }

  // Whether the path still names the folder opened at the start (same device and inode; on
  // Windows the same volume serial number and file index).
  bool Present() const;
  // Throws ErrorKind::kCardRemoved when it does not; `kept` tells what the card holds now.
  void CheckPresent(const std::string& kept) const;

  // Free space, or nullopt when the file system reports no size (unknown, not full).
  std::optional<CardSpace> Space() const;

  // The command that checks and mends the card's file system ("fsck.fat -a <device>" after
  // unmounting it), for a run that saw damaged files.
  std::string CheckCommand() const;

  // The error for a failed operation on `relative` (below the folder): a card that is gone reads
  // as removed, a full one as full, anything else names the file and the system's reason.
  Error Failure(const std::string& relative, int errno_value, const std::string& kept) const;

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  platform::FolderIdentity identity_;
};

// What the error messages say about the card after a failed run.
inline constexpr const char* kCardUnchanged = "カードは変換前のままです。";

}  // namespace dw
