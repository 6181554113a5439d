#include "convert/device_reader.h"

#include <cerrno>

#include "platform/folder.h"

namespace dw {

DeviceReader::DeviceReader(const std::filesystem::path& path, bool drop_cached_pages) {
  fd_ = platform::OpenFile(path);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  // Advice only: a file system without a page cache of its own has nothing to drop.
  if (drop_cached_pages) platform::DropCachedPages(fd_);
}

DeviceReader::~DeviceReader() {
  if (fd_ >= 0) platform::Close(fd_);
}

long long DeviceReader::Read(char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const long long n = platform::Read(fd_, buffer + done, size - done);
    if (n < 0) {
      error_ = errno;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<long long>(done);
}

}  // namespace dw
