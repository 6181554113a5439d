#include "convert/card_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/folder.h"

namespace dw {

namespace {

// 256 KiB: few system calls, and a slow card still lets the progress page repaint every ~100 ms.
constexpr size_t kChunk = 1 << 18;

int WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    long long w = platform::Write(fd, p, n);
    if (w < 0) return errno;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return 0;
}

// Copies from the current offsets of two files until `length` bytes are copied or the source ends.
class Copier {
 public:
  Copier(int in, int out, const std::function<void()>& tick) : in_(in), out_(out), tick_(tick) {}

  CopyFailure Copy(uint64_t length) {
    while (length > 0) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(length, kChunk));
      long long n;
      if (kernel_copy_) {
        n = platform::CopyRange(in_, out_, want);
        // Across file systems (the usual case for a card) the kernel may refuse; copy by hand.
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)) {
          kernel_copy_ = false;
          buffer_.resize(kChunk);
          continue;
        }
        if (n < 0) return {errno, false};
      } else {
        n = platform::Read(in_, buffer_.data(), want);
        if (n < 0) return {errno, true};
        if (int e = WriteAll(out_, buffer_.data(), static_cast<size_t>(n))) return {e, false};
      }
      if (n == 0) return {};
      length -= static_cast<uint64_t>(n);
      if (tick_) tick_();
    }
    return {};
  }

 private:
  const int in_, out_;
  const std::function<void()>& tick_;
  bool kernel_copy_ = true;
  std::vector<char> buffer_;
};

// The workspace leaves whole blocks of zeros as holes. Where the copy can first be given its whole
// length they stay holes (or are zeros the file system wrote itself); elsewhere every byte is copied.
CopyFailure CopyFd(int in, int out, const std::function<void()>& tick) {
  uint64_t size = 0;
  if (platform::SizeOf(in, size) != 0) return {errno, true};
  std::vector<std::pair<uint64_t, uint64_t>> stretches = DataStretches(in, size);
  if (!HasHoles(stretches, size) || platform::Lengthen(out, size) != 0) stretches.assign(1, {0, UINT64_MAX});
  Copier copier(in, out, tick);
  for (const auto& [start, end] : stretches) {
    if (platform::Seek(in, start) != 0) return {errno, true};
    if (platform::Seek(out, start) != 0) return {errno, false};
    if (CopyFailure failure = copier.Copy(end - start); failure.errno_value != 0) return failure;
  }
  return {};
}

CopyFailure CopyOpened(int in, int dirfd, const std::string& relative, const std::function<void()>& tick) {
  int out = platform::CreateFileAt(dirfd, relative);
  if (out < 0) return {errno, false};
  CopyFailure result = CopyFd(in, out, tick);
  // The card writes this file while the next one is copied; the flush after the last waits less.
  if (result.errno_value == 0) platform::StartWriting(out);
  if (platform::Close(out) != 0 && result.errno_value == 0) result = {errno, false};
  if (result.errno_value != 0) platform::RemoveFileAt(dirfd, relative);
  return result;
}

}  // namespace

std::vector<std::pair<uint64_t, uint64_t>> DataStretches(int fd, uint64_t size) {
  std::vector<std::pair<uint64_t, uint64_t>> stretches;
  for (uint64_t at = 0, start = 0, end = 0; at < size; at = end) {
    platform::NextData(fd, at, size, start, end);
    if (start >= end) break;
    stretches.emplace_back(start, end);
  }
  return stretches;
}

bool HasHoles(const std::vector<std::pair<uint64_t, uint64_t>>& stretches, uint64_t size) {
  return size > 0 && !(stretches.size() == 1 && stretches[0].first == 0 && stretches[0].second == size);
}

int MakeFoldersAt(int dirfd, const std::string& relative) {
  for (size_t slash = 0;; ++slash) {
    slash = relative.find('/', slash);
    const std::string part = relative.substr(0, slash);
    if (!part.empty() && platform::MakeFolderAt(dirfd, part) != 0 && errno != EEXIST) return errno;
    if (slash == std::string::npos) break;
  }
  return EntryKindAt(dirfd, relative) == 'd' ? 0 : ENOTDIR;
}

CopyFailure CopyFileAt(const std::filesystem::path& source, int dirfd, const std::string& relative,
                       const std::function<void()>& tick) {
  int in = platform::OpenFile(source);
  if (in < 0) return {errno, true};
  CopyFailure result = CopyOpened(in, dirfd, relative, tick);
  platform::Close(in);
  return result;
}

CopyFailure CopyFileWithinAt(int dirfd, const std::string& from, const std::string& to,
                             const std::function<void()>& tick) {
  int in = platform::OpenFileAt(dirfd, from);
  if (in < 0) return {errno, true};
  CopyFailure result = CopyOpened(in, dirfd, to, tick);
  platform::Close(in);
  return result;
}

void RemoveTreeAt(int dirfd, const std::string& relative) {
  if (platform::RemoveFileAt(dirfd, relative) == 0) return;
  int fd = platform::OpenFolderAt(dirfd, relative);
  if (fd < 0) return;
  std::vector<std::string> names;
  platform::ListFolder(fd, names);
  for (const std::string& name : names) RemoveTreeAt(fd, name);
  platform::Close(fd);
  platform::RemoveFolderAt(dirfd, relative);
}

long long FileSizeAt(int dirfd, const std::string& relative) {
  platform::EntryStatus status;
  if (platform::StatusAt(dirfd, relative, status) != 0 || !status.regular) return -1;
  return static_cast<long long>(status.size);
}

namespace {

int ReadOpened(int fd, const std::function<void(const char*, size_t)>& sink, long long* size) {
  uint64_t file_size = 0;
  if (platform::SizeOf(fd, file_size) != 0) return errno;
  if (size) *size = static_cast<long long>(file_size);
  const std::unique_ptr<char[]> buffer(new char[kChunk]);  // not zeroed: every byte passed on is read
  // Holes are passed on as zeros; a file without them is one stretch, and must end there.
  const std::vector<std::pair<uint64_t, uint64_t>> stretches = DataStretches(fd, file_size);
  const bool holes = HasHoles(stretches, file_size);
  static const char zeros[kChunk] = {};
  auto pass_zeros = [&](uint64_t n) {
    for (size_t k; n > 0; n -= k) sink(zeros, k = static_cast<size_t>(std::min<uint64_t>(n, kChunk)));
  };
  uint64_t at = 0;
  for (const auto& [start, end] : stretches) {
    pass_zeros(start - at);
    if (platform::Seek(fd, start) != 0) return errno;
    for (uint64_t left = end - start; left > 0;) {
      const long long n = platform::Read(fd, buffer.get(), static_cast<size_t>(std::min<uint64_t>(left, kChunk)));
      if (n < 0) return errno;
      if (n == 0) return EIO;
      sink(buffer.get(), static_cast<size_t>(n));
      left -= static_cast<uint64_t>(n);
    }
    at = end;
  }
  pass_zeros(file_size - at);
  if (holes) return 0;
  const long long more = platform::Read(fd, buffer.get(), 1);
  if (more < 0) return errno;
  return more == 0 ? 0 : EIO;  // longer than its size said
}

int ReadWith(int fd, const std::function<void(const char*, size_t)>& sink, long long* size) {
  if (fd < 0) return errno;
  const int e = ReadOpened(fd, sink, size);
  platform::Close(fd);
  return e;
}

}  // namespace

int ReadFileAt(int dirfd, const std::string& relative, const std::function<void(const char*, size_t)>& sink,
               long long* size) {
  return ReadWith(platform::OpenFileAt(dirfd, relative), sink, size);
}

int ReadFile(const std::filesystem::path& file, const std::function<void(const char*, size_t)>& sink,
             long long* size) {
  return ReadWith(platform::OpenFile(file), sink, size);
}

int WriteFileAt(int dirfd, const std::string& relative, const std::string& bytes) {
  const int out = platform::CreateFileAt(dirfd, relative);
  if (out < 0) return errno;
  int e = WriteAll(out, bytes.data(), bytes.size());
  if (e == 0 && platform::SyncFile(out) != 0 && errno != EINVAL && errno != ENOSYS) e = errno;
  if (platform::Close(out) != 0 && e == 0) e = errno;
  return e;
}

int RenameAt(int dirfd, const std::string& from, const std::string& to) {
  return platform::RenameAt(dirfd, from, to) == 0 ? 0 : errno;
}

int RemoveFileAt(int dirfd, const std::string& relative) {
  return platform::RemoveFileAt(dirfd, relative) == 0 ? 0 : errno;
}

int RemoveEmptyFolderAt(int dirfd, const std::string& relative) {
  return platform::RemoveFolderAt(dirfd, relative) == 0 ? 0 : errno;
}

int ListFolderAt(int dirfd, const std::string& relative, std::vector<std::string>& names) {
  const int fd = platform::OpenFolderAt(dirfd, relative);
  if (fd < 0) return errno;
  const int e = platform::ListFolder(fd, names) == 0 ? 0 : errno;
  platform::Close(fd);
  return e;
}

int FlushAll(int dirfd) {
  if (platform::SyncVolume(dirfd) == 0 || errno == EINVAL || errno == ENOSYS || errno == EROFS) return 0;
  return errno;
}

char EntryKindAt(int dirfd, const std::string& relative) {
  platform::EntryStatus status;
  if (platform::StatusAt(dirfd, relative, status) != 0) return errno == ENOENT ? 0 : '?';
  return status.folder ? 'd' : 'f';
}

}  // namespace dw
