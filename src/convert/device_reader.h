// Reading a file as its device holds it: the file's cached pages are dropped before the first
// read, so the bytes come from the card and not from what the copy left in memory. The one place
// of the read-back's system calls.
#pragma once

#include <cstddef>
#include <filesystem>

namespace dw {

class DeviceReader {
 public:
  // Opens `path` for reading; with `drop_cached_pages`, asks the system to forget its cached pages
  // first (they are clean: the copy flushed the card). error() tells why an open failed.
  DeviceReader(const std::filesystem::path& path, bool drop_cached_pages);
  ~DeviceReader();
  DeviceReader(const DeviceReader&) = delete;
  DeviceReader& operator=(const DeviceReader&) = delete;

  int error() const { return error_; }  // 0, or the errno of the failed open or read
  int fd() const { return fd_; }
  // Fills up to `size` bytes; returns the bytes read, fewer only at the end (0 there), or -1 with
  // error() set.
  long long Read(char* buffer, size_t size);

 private:
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace dw
