#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file.h"
#include "platform/folder.h"

namespace dw::platform {
namespace fs = std::filesystem;

int WriteWholeFile(const fs::path& path, std::string_view bytes, bool flush) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  const char* p = bytes.data();
  size_t left = bytes.size();
  int error = 0;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // File systems that cannot flush (EINVAL) or are read-only (EROFS) have nothing to flush.
  if (error == 0 && flush && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) error = errno;
  // Otherwise the device starts taking the bytes now, while the program goes on, rather than all
  // at once at a later flush.
  if (error == 0 && !flush) StartWriting(fd);
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

int RenameOver(const fs::path& from, const fs::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const fs::path& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int ReadWholeFileInto(const fs::path& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  // Read straight into a buffer of the file's size; a file that grows meanwhile is read on.
  struct stat st {};
  size_t size = 0;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) size = static_cast<size_t>(st.st_size);
  constexpr size_t kMoreBytes = 65536;
  out.resize(size > 0 ? size + 1 : kMoreBytes);
  size_t filled = 0;
  for (;;) {
    if (filled == out.size()) out.resize(out.size() * 2);
    ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      return e;
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  ::close(fd);
  out.resize(filled);
  return 0;
}

int CheckReadable(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

}  // namespace dw::platform
