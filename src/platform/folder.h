// Files below an open folder, for the copy onto the card. The calls stand for the POSIX calls of
// the same job and behave alike: descriptors are ints, failures return -1 and set errno (on
// Windows the system's error mapped to the value Linux gives for the same fault). Relative paths
// are UTF-8 with '/' separators. On Windows a descriptor names a handle the folder or file is
// held open by, and paths of any length are reached (the \\?\ form).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dw::platform {

// open(dir, O_RDONLY | O_DIRECTORY): the folder `dir`, which must exist.
int OpenFolder(const std::filesystem::path& dir);
// The same for a folder below `dirfd`; a symbolic link is not followed.
int OpenFolderAt(int dirfd, const std::string& relative);
// open(file, O_RDONLY).
int OpenFile(const std::filesystem::path& file);
// openat(dirfd, relative, O_RDONLY).
int OpenFileAt(int dirfd, const std::string& relative);
// openat(dirfd, relative, O_WRONLY | O_CREAT | O_TRUNC, 0644).
int CreateFileAt(int dirfd, const std::string& relative);
int Close(int fd);

// read() and write(), retried on EINTR: bytes moved, 0 at the end, -1 on failure.
long long Read(int fd, void* buffer, size_t size);
long long Write(int fd, const void* data, size_t size);
// Copies up to `size` bytes inside the kernel (copy_file_range); -1 with EXDEV, EINVAL, ENOSYS,
// EOPNOTSUPP or EBADF where it cannot, so the caller copies by hand.
long long CopyRange(int in, int out, size_t size);
// fstat(fd).st_size: the size of the open file.
int SizeOf(int fd, uint64_t& size);
// lseek(SEEK_DATA / SEEK_HOLE): the first stretch of data [start, end) at or after `offset` in the
// file `fd` of `size` bytes; start == size when only a hole is left. Where the file system keeps no
// holes or cannot tell (Windows), the rest of the file is data.
void NextData(int fd, uint64_t offset, uint64_t size, uint64_t& start, uint64_t& end);
// ftruncate(): gives the file `size` bytes, those beyond its end reading as zeros; -1 where the
// file system refuses (the FAT driver in user space cannot lengthen a file).
int Lengthen(int fd, uint64_t size);
// lseek(SEEK_SET): the next read or write of `fd` starts at `offset`.
int Seek(int fd, uint64_t offset);
// posix_fadvise(POSIX_FADV_DONTNEED): forget the file's cached pages, so that the next read comes
// from the device. Where the system offers no such call (Windows), it does nothing.
void DropCachedPages(int fd);
// sync_file_range(SYNC_FILE_RANGE_WRITE): starts writing the file's data to the device without
// waiting, so that a later flush has less left to wait for. Advice only: where the system offers
// no such call (Windows), it does nothing.
void StartWriting(int fd);
// fsync(): the file's data on the disk.
int SyncFile(int fd);
// syncfs(): everything written to the file system of `dirfd` on the disk.
int SyncVolume(int dirfd);

// mkdirat(dirfd, relative, 0755), unlinkat(dirfd, relative, 0 / AT_REMOVEDIR).
int MakeFolderAt(int dirfd, const std::string& relative);
int RemoveFileAt(int dirfd, const std::string& relative);
int RemoveFolderAt(int dirfd, const std::string& relative);
// renameat(dirfd, from, dirfd, to): replaces a file at `to`; on Windows written through.
int RenameAt(int dirfd, const std::string& from, const std::string& to);

struct EntryStatus {
  bool folder = false;
  bool regular = false;  // a plain file (not a folder, link or device)
  uint64_t size = 0;
};
// fstatat(dirfd, relative, AT_SYMLINK_NOFOLLOW).
int StatusAt(int dirfd, const std::string& relative, EntryStatus& status);
// The names in the folder `dirfd` (without "." and "..").
int ListFolder(int dirfd, std::vector<std::string>& names);

// What tells one folder from every other: device and inode, on Windows the volume's serial
// number and the file index.
struct FolderIdentity {
  uint64_t device = 0;
  uint64_t node = 0;
  bool operator==(const FolderIdentity&) const = default;
};
int IdentityOf(int fd, FolderIdentity& identity);
int IdentityOfPath(const std::filesystem::path& path, FolderIdentity& identity);

// Free bytes for the user and the allocation unit; -1 when the file system reports no size.
int FreeSpace(int dirfd, uint64_t& free_bytes, uint64_t& unit);

// flock(fd, LOCK_EX | LOCK_NB) on a folder: -1 with EWOULDBLOCK while another descriptor of any
// process holds it; released by Close. Nothing is written into the folder.
int LockExclusive(int dirfd);

}  // namespace dw::platform
