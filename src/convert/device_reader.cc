#include "convert/device_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace dw {

DeviceReader::DeviceReader(const std::filesystem::path& path, bool drop_cached_pages) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  // Advice only: a file system without a page cache of its own has nothing to drop.
  if (drop_cached_pages) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
}

DeviceReader::~DeviceReader() {
  if (fd_ >= 0) ::close(fd_);
}

long long DeviceReader::Read(char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd_, buffer + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<long long>(done);
}

}  // namespace dw
