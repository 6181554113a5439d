#include <cerrno>

#include "platform/file.h"
#include "platform/win32_errors.h"

namespace dw::platform {
namespace fs = std::filesystem;

namespace {

int LastErrno() { return ErrnoFromWin32(GetLastError()); }

int OpenErrno(const std::wstring& path) { return ErrnoForPath(GetLastError(), path); }

}  // namespace

int WriteWholeFile(const fs::path& path, std::string_view bytes, bool flush) {
  const std::wstring name = LongPath(path);
  HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenErrno(name);
  int error = 0;
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0 && error == 0) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(left < (1u << 30) ? left : (1u << 30));
    if (!WriteFile(h, p, want, &put, nullptr)) error = LastErrno();
    p += put;
    left -= put;
  }
  if (error == 0 && flush && !FlushFileBuffers(h)) error = LastErrno();
  if (!CloseHandle(h) && error == 0) error = LastErrno();
  return error;
}

int RenameOver(const fs::path& from, const fs::path& to) {
  return MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : LastErrno();
}

int RemoveFile(const fs::path& path) { return DeleteFileW(LongPath(path).c_str()) ? 0 : LastErrno(); }

int ReadWholeFileInto(const fs::path& path, std::string& out) {
  const std::wstring name = LongPath(path);
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenErrno(name);
  // Read straight into a buffer of the file's size; a file that grows meanwhile is read on.
  LARGE_INTEGER size{};
  constexpr size_t kMoreBytes = 65536;
  out.resize(GetFileSizeEx(h, &size) && size.QuadPart > 0 ? static_cast<size_t>(size.QuadPart) + 1 : kMoreBytes);
  size_t filled = 0;
  for (;;) {
    if (filled == out.size()) out.resize(out.size() * 2);
    const size_t room = out.size() - filled;
    DWORD got = 0;
    if (!ReadFile(h, out.data() + filled, static_cast<DWORD>(room < (1u << 30) ? room : (1u << 30)), &got, nullptr)) {
      const int e = LastErrno();
      CloseHandle(h);
      return e;
    }
    if (got == 0) break;
    filled += got;
  }
  CloseHandle(h);
  out.resize(filled);
  return 0;
}

int CheckReadable(const fs::path& path) {
  const std::wstring name = LongPath(path);
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenErrno(name);
  CloseHandle(h);
  return 0;
}

}  // namespace dw::platform
