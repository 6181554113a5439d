#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/folder.h"

namespace dw::platform {
namespace fs = std::filesystem;

int OpenFolder(const fs::path& dir) { return ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

int OpenFolderAt(int dirfd, const std::string& relative) {
  return ::openat(dirfd, relative.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

int OpenFile(const fs::path& file) { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC); }

int OpenFileAt(int dirfd, const std::string& relative) {
  return ::openat(dirfd, relative.c_str(), O_RDONLY | O_CLOEXEC);
}

int CreateFileAt(int dirfd, const std::string& relative) {
  return ::openat(dirfd, relative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

int Close(int fd) { return ::close(fd); }

long long Read(int fd, void* buffer, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

long long Write(int fd, const void* data, size_t size) {
  for (;;) {
    const ssize_t n = ::write(fd, data, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

long long CopyRange(int in, int out, size_t size) {
  for (;;) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size, 0);
    if (n >= 0 || errno != EINTR) return n;
  }
}

void StartWriting(int fd) { ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); }

int SyncFile(int fd) { return ::fsync(fd); }

int SyncVolume(int dirfd) { return ::syncfs(dirfd); }

int MakeFolderAt(int dirfd, const std::string& relative) { return ::mkdirat(dirfd, relative.c_str(), 0755); }

int RemoveFileAt(int dirfd, const std::string& relative) { return ::unlinkat(dirfd, relative.c_str(), 0); }

int RemoveFolderAt(int dirfd, const std::string& relative) {
  return ::unlinkat(dirfd, relative.c_str(), AT_REMOVEDIR);
}

int RenameAt(int dirfd, const std::string& from, const std::string& to) {
  return ::renameat(dirfd, from.c_str(), dirfd, to.c_str());
}

int StatusAt(int dirfd, const std::string& relative, EntryStatus& status) {
  struct stat st {};
  if (::fstatat(dirfd, relative.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return -1;
  status.folder = S_ISDIR(st.st_mode);
  status.regular = S_ISREG(st.st_mode);
  status.size = static_cast<uint64_t>(st.st_size);
  return 0;
}

int ListFolder(int dirfd, std::vector<std::string>& names) {
  names.clear();
  const int copy = ::dup(dirfd);
  if (copy < 0) return -1;
  DIR* dir = ::fdopendir(copy);
  if (dir == nullptr) {
    const int e = errno;
    ::close(copy);
    errno = e;
    return -1;
  }
  ::rewinddir(dir);
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return 0;
}

int SizeOf(int fd, uint64_t& size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return -1;
  size = static_cast<uint64_t>(st.st_size);
  return 0;
}

void NextData(int fd, uint64_t offset, uint64_t size, uint64_t& start, uint64_t& end) {
  start = offset;
  end = size;
  const off_t data = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
  if (data < 0) {
    if (errno == ENXIO) start = size;  // a hole up to the end
    return;
  }
  const off_t hole = ::lseek(fd, data, SEEK_HOLE);
  start = std::min(static_cast<uint64_t>(data), size);
  if (hole >= data) end = std::min(static_cast<uint64_t>(hole), size);
}

int Lengthen(int fd, uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)); }

int Seek(int fd, uint64_t offset) {
  return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0 ? -1 : 0;
}

void DropCachedPages(int fd) { ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED); }

int IdentityOf(int fd, FolderIdentity& identity) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return -1;
  identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return 0;
}

int IdentityOfPath(const fs::path& path, FolderIdentity& identity) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return 0;
}

int FreeSpace(int dirfd, uint64_t& free_bytes, uint64_t& unit) {
  struct statvfs vfs {};
  if (::fstatvfs(dirfd, &vfs) != 0 || vfs.f_blocks == 0) return -1;
  free_bytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  unit = vfs.f_bsize > 0 ? vfs.f_bsize : 512;
  return 0;
}

int LockExclusive(int dirfd) {
  int rc;
  do rc = ::flock(dirfd, LOCK_EX | LOCK_NB);
  while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace dw::platform
