// Descriptors name handles kept in a table, with the long path each was opened by: Windows has
// no calls relative to a folder handle, so a relative path is joined to the folder's path.
#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>

#include "platform/folder.h"
#include "platform/win32_errors.h"

namespace dw::platform {
namespace fs = std::filesystem;

namespace {

struct Opened {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring path;
  bool written = false;  // flushed when closed
  HANDLE lock = nullptr;
};

std::mutex g_mutex;
std::map<int, Opened> g_opened;
int g_next = 3;

int Register(HANDLE handle, std::wstring path, bool written) {
  std::lock_guard<std::mutex> hold(g_mutex);
  const int fd = g_next++;
  g_opened[fd] = Opened{handle, std::move(path), written, nullptr};
  return fd;
}

// The entry of `fd`; nullptr (and EBADF) when there is none. Entries stay put until closed.
Opened* Find(int fd) {
  std::lock_guard<std::mutex> hold(g_mutex);
  auto it = g_opened.find(fd);
  if (it == g_opened.end()) {
    errno = EBADF;
    return nullptr;
  }
  return &it->second;
}

int OpenFolderPath(std::wstring path, bool follow) {
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  HANDLE h = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = ErrnoForPath(GetLastError(), path);
    return -1;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) {
    const int e = FailWithLastError();
    CloseHandle(h);
    return e;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (!follow && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
    CloseHandle(h);
    errno = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? ELOOP : ENOTDIR;
    return -1;
  }
  return Register(h, std::move(path), false);
}

int OpenFilePath(std::wstring path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = ErrnoForPath(GetLastError(), path);
    return -1;
  }
  return Register(h, std::move(path), false);
}

// The path of `relative` below the folder `dirfd`; false (errno set) when `dirfd` is not open.
bool Below(int dirfd, const std::string& relative, std::wstring& path) {
  const Opened* folder = Find(dirfd);
  if (folder == nullptr) return false;
  path = JoinLongPath(folder->path, relative);
  return true;
}

int Identity(HANDLE h, FolderIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return FailWithLastError();
  identity.device = info.dwVolumeSerialNumber;
  identity.node = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return 0;
}

}  // namespace

int OpenFolder(const fs::path& dir) { return OpenFolderPath(LongPath(dir), true); }

int OpenFolderAt(int dirfd, const std::string& relative) {
  std::wstring path;
  return Below(dirfd, relative, path) ? OpenFolderPath(std::move(path), false) : -1;
}

int OpenFile(const fs::path& file) { return OpenFilePath(LongPath(file)); }

int OpenFileAt(int dirfd, const std::string& relative) {
  std::wstring path;
  return Below(dirfd, relative, path) ? OpenFilePath(std::move(path)) : -1;
}

int CreateFileAt(int dirfd, const std::string& relative) {
  std::wstring path;
  if (!Below(dirfd, relative, path)) return -1;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = ErrnoForPath(GetLastError(), path);
    return -1;
  }
  return Register(h, std::move(path), true);
}

int Close(int fd) {
  Opened opened;
  {
    std::lock_guard<std::mutex> hold(g_mutex);
    auto it = g_opened.find(fd);
    if (it == g_opened.end()) {
      errno = EBADF;
      return -1;
    }
    opened = it->second;
    g_opened.erase(it);
  }
  int result = 0;
  // A file written onto the card is on it before the copy goes on: one flush per file.
  if (opened.written && !FlushFileBuffers(opened.handle)) result = FailWithLastError();
  if (opened.lock != nullptr) CloseHandle(opened.lock);
  if (!CloseHandle(opened.handle) && result == 0) result = FailWithLastError();
  return result;
}

long long Read(int fd, void* buffer, size_t size) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
  if (!ReadFile(opened->handle, buffer, want, &got, nullptr)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return FailWithLastError();
  }
  return got;
}

long long Write(int fd, const void* data, size_t size) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  DWORD put = 0;
  const DWORD want = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
  if (!WriteFile(opened->handle, data, want, &put, nullptr)) return FailWithLastError();
  return put;
}

long long CopyRange(int, int, size_t) {
  errno = ENOSYS;
  return -1;
}

int SyncFile(int fd) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  return FlushFileBuffers(opened->handle) ? 0 : FailWithLastError();
}

// Flushing a whole volume needs an administrator; every file written through CreateFileAt is
// flushed when it is closed and every rename is written through, so nothing is left to flush.
int SyncVolume(int dirfd) { return Find(dirfd) != nullptr ? 0 : -1; }

int MakeFolderAt(int dirfd, const std::string& relative) {
  std::wstring path;
  if (!Below(dirfd, relative, path)) return -1;
  return CreateDirectoryW(path.c_str(), nullptr) ? 0 : FailWithLastError();
}

int RemoveFileAt(int dirfd, const std::string& relative) {
  std::wstring path;
  if (!Below(dirfd, relative, path)) return -1;
  if (DeleteFileW(path.c_str())) return 0;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    errno = EISDIR;
    return -1;
  }
  // A read-only file goes as on Linux, where only the folder's permissions count.
  if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) && DeleteFileW(path.c_str())) {
    return 0;
  }
  errno = ErrnoFromWin32(error);
  return -1;
}

int RemoveFolderAt(int dirfd, const std::string& relative) {
  std::wstring path;
  if (!Below(dirfd, relative, path)) return -1;
  return RemoveDirectoryW(path.c_str()) ? 0 : FailWithLastError();
}

int RenameAt(int dirfd, const std::string& from, const std::string& to) {
  std::wstring from_path, to_path;
  if (!Below(dirfd, from, from_path) || !Below(dirfd, to, to_path)) return -1;
  return MoveFileExW(from_path.c_str(), to_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : FailWithLastError();
}

int StatusAt(int dirfd, const std::string& relative, EntryStatus& status) {
  std::wstring path;
  if (!Below(dirfd, relative, path)) return -1;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return FailWithLastError();
  // A reparse point (link, junction) is neither, as a symbolic link seen without following it.
  const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  status.folder = !link && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.regular = !link && !status.folder && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
  status.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return 0;
}

int ListFolder(int dirfd, std::vector<std::string>& names) {
  names.clear();
  std::wstring pattern;
  if (!Below(dirfd, "*", pattern)) return -1;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : FailWithLastError();
  }
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8FromWide(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return 0;
}

int SizeOf(int fd, uint64_t& size) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  LARGE_INTEGER value{};
  if (!GetFileSizeEx(opened->handle, &value)) return FailWithLastError();
  size = static_cast<uint64_t>(value.QuadPart);
  return 0;
}

// Holes are not looked for: every file is data from end to end.
void NextData(int, uint64_t offset, uint64_t size, uint64_t& start, uint64_t& end) {
  start = offset;
  end = size;
}

int Lengthen(int fd, uint64_t size) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  return SetFileInformationByHandle(opened->handle, FileEndOfFileInfo, &info, sizeof info) ? 0 : FailWithLastError();
}

int Seek(int fd, uint64_t offset) {
  const Opened* opened = Find(fd);
  if (opened == nullptr) return -1;
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(opened->handle, to, nullptr, FILE_BEGIN) ? 0 : FailWithLastError();
}

// Windows offers no per-file way to drop cached pages short of unbuffered reads; reads of a file
// just written may come from the cache.
void DropCachedPages(int) {}

// The data of a file goes to the device when its handle is flushed; nothing starts it sooner.
void StartWriting(int) {}

int IdentityOf(int fd, FolderIdentity& identity) {
  const Opened* opened = Find(fd);
  return opened == nullptr ? -1 : Identity(opened->handle, identity);
}

int IdentityOfPath(const fs::path& path, FolderIdentity& identity) {
  HANDLE h = CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FailWithLastError();
  const int result = Identity(h, identity);
  CloseHandle(h);
  return result;
}

int FreeSpace(int dirfd, uint64_t& free_bytes, uint64_t& unit) {
  const Opened* opened = Find(dirfd);
  if (opened == nullptr) return -1;
  std::wstring folder = opened->path;
  if (folder.back() != L'\\') folder += L'\\';
  ULARGE_INTEGER available{}, total{};
  if (!GetDiskFreeSpaceExW(folder.c_str(), &available, &total, nullptr)) return FailWithLastError();
  if (total.QuadPart == 0) {
    errno = ENOSYS;
    return -1;
  }
  free_bytes = available.QuadPart;
  unit = 512;
  wchar_t root[MAX_PATH + 8] = {};
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (GetVolumePathNameW(folder.c_str(), root, MAX_PATH + 8) &&
      GetDiskFreeSpaceW(root, &sectors, &bytes, &free_clusters, &clusters) && sectors * bytes > 0) {
    unit = static_cast<uint64_t>(sectors) * bytes;
  }
  return 0;
}

// A named kernel object per folder (volume serial and file index) stands for the lock: it lives
// while a handle to it is open, and dies with the process that holds it.
int LockExclusive(int dirfd) {
  Opened* opened = Find(dirfd);
  if (opened == nullptr) return -1;
  FolderIdentity identity;
  if (Identity(opened->handle, identity) != 0) return -1;
  wchar_t name[96];
  std::swprintf(name, 96, L"Local\\Datawright-lock-%016llx-%016llx", static_cast<unsigned long long>(identity.device),
                static_cast<unsigned long long>(identity.node));
  HANDLE lock = CreateMutexW(nullptr, FALSE, name);
  if (lock == nullptr) return FailWithLastError();
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(lock);
    errno = EWOULDBLOCK;
    return -1;
  }
  std::lock_guard<std::mutex> hold(g_mutex);
  opened->lock = lock;
  return 0;
}

}  // namespace dw::platform
