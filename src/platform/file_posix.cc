#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file.h"
#include "platform/folder.h"

namespace dw::platform {
namespace fs = std::filesystem;

namespace {

// Blocks of this many zero bytes, at offsets that are multiples of it, are left unwritten.
constexpr size_t kHoleBlock = 65536;

bool ZeroBlock(const char* p) {
  static const char zeros[kHoleBlock] = {};
  return std::memcmp(p, zeros, kHoleBlock) == 0;
}

int WriteAt(int fd, const char* p, size_t n, off_t at) {
  while (n > 0) {
    const ssize_t put = ::pwrite(fd, p, n, at);
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += put;
    n -= static_cast<size_t>(put);
    at += put;
  }
  return 0;
}

// Writes `bytes` into the empty file `fd`. The blank map layers and empty check files are mostly
// zeros: once the file has been given its whole length, whole zero blocks are skipped, and where
// the file system keeps holes (ext4, XFS, Btrfs, tmpfs) the disk never takes them. Where it cannot
// lengthen a file that way (the FAT driver in user space) every byte is written.
int WriteSkippingZeroBlocks(int fd, std::string_view bytes) {
  const size_t size = bytes.size();
  bool lengthened = false;
  size_t run = 0;  // start of the bytes not written yet
  for (size_t at = 0; at < size; at += kHoleBlock) {
    if (size - at < kHoleBlock || !ZeroBlock(bytes.data() + at)) continue;
    if (!lengthened && ::ftruncate(fd, static_cast<off_t>(size)) != 0) break;
    lengthened = true;
    if (int e = WriteAt(fd, bytes.data() + run, at - run, static_cast<off_t>(run))) return e;
    run = at + kHoleBlock;
  }
  return WriteAt(fd, bytes.data() + run, size - run, static_cast<off_t>(run));
}

}  // namespace

int WriteWholeFile(const fs::path& path, std::string_view bytes, bool flush) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  int error = WriteSkippingZeroBlocks(fd, bytes);
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
