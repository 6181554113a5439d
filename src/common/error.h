// The one error type of the project and the messages of its failures.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dw {

// Every failure a job reports is an Error; what() is the user-facing message in UTF-8.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "'%s' は整数ではありません"; the cell's Shift-JIS bytes are converted for display.
Error NotAnInteger(std::string_view cell_sjis);
// "リストのインデックスが範囲を超えています (%d)".
Error IndexOutOfRange(long long index);

// The reason text for a system error number, in the words users know from the
// catalog tools: "ファイルが見つかりません", "ファイルへのアクセスが拒否されました", ...
std::string SystemReason(int errno_value);

// A table file that cannot be created / opened for reading; names the path and the reason.
Error CannotCreate(const std::filesystem::path& path, int errno_value);
Error CannotOpen(const std::filesystem::path& path, int errno_value);
// A text file failure: the reason first (as the run-time layer words it), then the path.
Error TextFileError(const std::filesystem::path& path, int errno_value);

// A path for messages, in UTF-8.
std::string DisplayPath(const std::filesystem::path& path);

}  // namespace dw
