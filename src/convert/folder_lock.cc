#include "convert/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "common/messages.h"

namespace dw {

FolderLock::FolderLock(const std::filesystem::path& dir, const std::string& role) {
  fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) throw CannotOpen(dir, errno);
  int rc;
  do rc = ::flock(fd_, LOCK_EX | LOCK_NB);
  while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int e = errno;
    ::close(fd_);
    fd_ = -1;
    if (e == EWOULDBLOCK) {
      throw FolderBusy(role, dir, e);
    }
    // A file system without locks cannot be shared safely anyway; go on without one.
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace dw
