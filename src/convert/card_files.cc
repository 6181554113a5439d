#include "convert/card_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace dw {

namespace {

// 256 KiB: few system calls, and a slow card still lets the progress page repaint every ~100 ms.
constexpr size_t kChunk = 1 << 18;

int WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return 0;
}

CopyFailure CopyFd(int in, int out, const std::function<void()>& tick) {
  bool kernel_copy = true;
  std::vector<char> buffer;
  for (;;) {
    if (kernel_copy) {
      ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
      if (n > 0) {
        if (tick) tick();
        continue;
      }
      if (n == 0) return {};
      if (errno == EINTR) continue;
      // Across file systems (the usual case for a card) the kernel may refuse; copy by hand.
      if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF) {
        kernel_copy = false;
        buffer.resize(kChunk);
        continue;
      }
      return {errno, false};
    }
    ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return {errno, true};
    }
    if (n == 0) return {};
    if (int e = WriteAll(out, buffer.data(), static_cast<size_t>(n))) return {e, false};
    if (tick) tick();
  }
}

CopyFailure CopyOpened(int in, int dirfd, const std::string& relative, const std::function<void()>& tick) {
  int out = ::openat(dirfd, relative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return {errno, false};
  CopyFailure result = CopyFd(in, out, tick);
  if (::close(out) != 0 && result.errno_value == 0) result = {errno, false};
  if (result.errno_value != 0) ::unlinkat(dirfd, relative.c_str(), 0);
  return result;
}

}  // namespace

int MakeFoldersAt(int dirfd, const std::string& relative) {
  for (size_t slash = 0;; ++slash) {
    slash = relative.find('/', slash);
    const std::string part = relative.substr(0, slash);
    if (!part.empty() && ::mkdirat(dirfd, part.c_str(), 0755) != 0 && errno != EEXIST) return errno;
    if (slash == std::string::npos) break;
  }
  return EntryKindAt(dirfd, relative) == 'd' ? 0 : ENOTDIR;
}

CopyFailure CopyFileAt(const std::filesystem::path& source, int dirfd, const std::string& relative,
                       const std::function<void()>& tick) {
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return {errno, true};
  CopyFailure result = CopyOpened(in, dirfd, relative, tick);
  ::close(in);
  return result;
}

CopyFailure CopyFileWithinAt(int dirfd, const std::string& from, const std::string& to,
                             const std::function<void()>& tick) {
  int in = ::openat(dirfd, from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return {errno, true};
  CopyFailure result = CopyOpened(in, dirfd, to, tick);
  ::close(in);
  return result;
}

void RemoveTreeAt(int dirfd, const std::string& relative) {
  if (::unlinkat(dirfd, relative.c_str(), 0) == 0) return;
  int fd = ::openat(dirfd, relative.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;
  std::vector<std::string> names;
  if (DIR* dir = ::fdopendir(::dup(fd))) {
    while (dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  for (const std::string& name : names) RemoveTreeAt(fd, name);
  ::close(fd);
  ::unlinkat(dirfd, relative.c_str(), AT_REMOVEDIR);
}

long long FileSizeAt(int dirfd, const std::string& relative) {
  struct stat st {};
  if (::fstatat(dirfd, relative.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) return -1;
  return st.st_size;
}

namespace {

int ReadOpened(int fd, const std::function<void(const char*, size_t)>& sink, long long* size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return errno;
  if (size) *size = st.st_size;
  std::vector<char> buffer(kChunk);
  long long total = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    total += n;
    sink(buffer.data(), static_cast<size_t>(n));
  }
  return total == st.st_size ? 0 : EIO;
}

int ReadWith(int fd, const std::function<void(const char*, size_t)>& sink, long long* size) {
  if (fd < 0) return errno;
  const int e = ReadOpened(fd, sink, size);
  ::close(fd);
  return e;
}

}  // namespace

int ReadFileAt(int dirfd, const std::string& relative, const std::function<void(const char*, size_t)>& sink,
               long long* size) {
  return ReadWith(::openat(dirfd, relative.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW), sink, size);
}

int ReadFile(const std::filesystem::path& file, const std::function<void(const char*, size_t)>& sink,
             long long* size) {
  return ReadWith(::open(file.c_str(), O_RDONLY | O_CLOEXEC), sink, size);
}

int WriteFileAt(int dirfd, const std::string& relative, const std::string& bytes) {
  const int out = ::openat(dirfd, relative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return errno;
  int e = WriteAll(out, bytes.data(), bytes.size());
  if (e == 0 && ::fsync(out) != 0 && errno != EINVAL && errno != ENOSYS) e = errno;
  if (::close(out) != 0 && e == 0) e = errno;
  return e;
}

int RenameAt(int dirfd, const std::string& from, const std::string& to) {
  return ::renameat(dirfd, from.c_str(), dirfd, to.c_str()) == 0 ? 0 : errno;
}

int RemoveFileAt(int dirfd, const std::string& relative) {
  return ::unlinkat(dirfd, relative.c_str(), 0) == 0 ? 0 : errno;
}

int RemoveEmptyFolderAt(int dirfd, const std::string& relative) {
  return ::unlinkat(dirfd, relative.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

int ListFolderAt(int dirfd, const std::string& relative, std::vector<std::string>& names) {
  const int fd = ::openat(dirfd, relative.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const int e = errno;
    ::close(fd);
    return e;
  }
  errno = 0;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const int e = errno;
  ::closedir(dir);
  return e;
}

int FlushAll(int dirfd) {
  if (::syncfs(dirfd) == 0 || errno == EINVAL || errno == ENOSYS || errno == EROFS) return 0;
  return errno;
}

char EntryKindAt(int dirfd, const std::string& relative) {
  struct stat st {};
  if (::fstatat(dirfd, relative.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT ? 0 : '?';
  return S_ISDIR(st.st_mode) ? 'd' : 'f';
}

}  // namespace dw
