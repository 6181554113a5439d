#include "convert/folder_lock.h"

#include <cerrno>

#include "common/messages.h"
#include "platform/folder.h"

namespace dw {

FolderLock::FolderLock(const std::filesystem::path& dir, const std::string& role) {
  fd_ = platform::OpenFolder(dir);
  if (fd_ < 0) throw CannotOpen(dir, errno);
  if (platform::LockExclusive(fd_) != 0) {
    const int e = errno;
    platform::Close(fd_);
    fd_ = -1;
    if (e == EWOULDBLOCK) {
      throw FolderBusy(role, dir, e);
    }
    // A file system without locks cannot be shared safely anyway; go on without one.
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) platform::Close(fd_);
}

}  // namespace dw
