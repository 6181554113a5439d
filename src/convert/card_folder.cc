#include "convert/card_folder.h"

#include <cerrno>

#include "platform/volume_check.h"

namespace dw {
namespace fs = std::filesystem;

CardFolder::CardFolder(const fs::path& destination) : path_(destination) {
  fd_ = platform::OpenFolder(destination);
  if (fd_ < 0) {
    const int e = errno;
    throw DestinationUnusable(destination, e);
  }
  platform::IdentityOf(fd_, identity_);
}

CardFolder::~CardFolder() {
  if (fd_ >= 0) platform::Close(fd_);
}

bool CardFolder::Present() const {
  platform::FolderIdentity now;
  return platform::IdentityOfPath(path_, now) == 0 && now == identity_;
}

void CardFolder::CheckPresent(const std::string& kept) const {
  if (!Present()) {
    throw CardRemoved(path_, path_, ENODEV, kept);
  }
}

std::optional<CardSpace> CardFolder::Space() const {
  CardSpace space;
  if (platform::FreeSpace(fd_, space.free_bytes, space.unit) != 0) return std::nullopt;
  return space;
}

std::string CardFolder::CheckCommand() const { return platform::VolumeCheckCommand(path_); }

Error CardFolder::Failure(const std::string& relative, int e, const std::string& kept) const {
  const fs::path file = path_ / relative;
  if (!Present() || e == ENODEV || e == ENOTCONN || e == ENXIO) {
    return CardRemoved(path_, file, e, kept);
  }
  bool full = e == ENOSPC;
#ifdef EDQUOT
  full = full || e == EDQUOT;
#endif
  if (!full && (e == EPERM || e == EACCES)) {
    // The FAT driver in user space answers a full card with EPERM and reports no size: count it
    // as full unless the file system says there is room.
    const std::optional<CardSpace> space = Space();
    full = !space || space->free_bytes < 2 * space->unit;
  }
  if (full) {
    return CardFull(file, e, kept);
  }
  return CannotWriteToCard(file, e, kept);
}

}  // namespace dw
