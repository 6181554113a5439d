// Windows helpers shared by the *_win32.cc files: errors and paths.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <string>

namespace dw::platform {

// The errno value Linux gives for the fault `error` (a GetLastError() value) stands for, so the
// messages read the same on both systems.
int ErrnoFromWin32(DWORD error);
// The same for a failed open or create of `path` (a LongPath): a folder opened as a file reads
// as EISDIR and a path below a file as ENOTDIR, where Windows says access denied / not found.
int ErrnoForPath(DWORD error, const std::wstring& path);
// Sets errno from GetLastError() and returns -1.
int FailWithLastError();

// The absolute path in the \\?\ form, which reaches past MAX_PATH; '/' becomes '\'.
std::wstring LongPath(const std::filesystem::path& path);
// `base` (a LongPath) joined with the UTF-8 relative path `relative`.
std::wstring JoinLongPath(const std::wstring& base, const std::string& relative);

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace dw::platform
