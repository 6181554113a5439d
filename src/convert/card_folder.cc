#include "convert/card_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace dw {
namespace fs = std::filesystem;

CardFolder::CardFolder(const fs::path& destination) : path_(destination) {
  fd_ = ::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    const int e = errno;
    throw DestinationUnusable(destination, e);
  }
  struct stat st {};
  ::fstat(fd_, &st);
  dev_ = st.st_dev;
  ino_ = st.st_ino;
}

CardFolder::~CardFolder() {
  if (fd_ >= 0) ::close(fd_);
}

bool CardFolder::Present() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_;
}

void CardFolder::CheckPresent(const std::string& kept) const {
  if (!Present()) {
    throw CardRemoved(path_, path_, ENODEV, kept);
  }
}

std::optional<CardSpace> CardFolder::Space() const {
  struct statvfs vfs {};
  if (::fstatvfs(fd_, &vfs) != 0 || vfs.f_blocks == 0) return std::nullopt;
  CardSpace space;
  space.free_bytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  space.unit = vfs.f_bsize > 0 ? vfs.f_bsize : 512;
  return space;
}

std::string CardFolder::CheckCommand() const {
  // The mount holding the folder: the longest mount point that is a prefix of its path.
  std::error_code ec;
  const std::string folder = fs::weakly_canonical(path_, ec).string();
  std::ifstream mounts("/proc/self/mountinfo");
  std::string line, point, device = "<device>";
  for (size_t best = 0; std::getline(mounts, line);) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mount_point, field;
    fields >> id >> parent >> numbers >> root >> mount_point;
    while (fields >> field && field != "-") {
    }
    std::string type, source;
    fields >> type >> source;
    const bool inside = folder == mount_point || folder.rfind(mount_point == "/" ? "/" : mount_point + "/", 0) == 0;
    if (inside && mount_point.size() >= best) {
      best = mount_point.size();
      point = mount_point;
      device = source;
    }
  }
  return "umount '" + point + "' && fsck.fat -a '" + device + "'";
}

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
