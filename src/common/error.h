// The one error type of the project. The messages themselves are built in common/messages.h.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dw {

// What went wrong, for callers and tests that act on the kind rather than on the text.
enum class ErrorKind {
  kOther,         // anything not named below
  kInvalidInput,  // a value in the user's input that cannot be used (not an integer, a bad option)
  kLimit,         // input larger than the data set's tables or the program's limits allow
  kIo,            // the system refused a file operation; errno() tells why
  kDamaged,       // a file shorter than it claims or otherwise inconsistent
  kStopped,       // the user asked the run to stop (Ctrl-C, SIGTERM, closing the window)
  kBusy,          // another run holds the workspace or the destination
  kCardRemoved,   // the destination vanished or changed device during the run
  kNoSpace,       // the destination has too little free space
  kInternal,      // a broken assumption of the program itself
};

// Every failure a job reports is an Error; what() is the user-facing message in UTF-8. The kind,
// the system error number (0 when none) and the path concerned (empty when none) travel with it.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message, ErrorKind kind = ErrorKind::kOther, int errno_value = 0,
                 std::filesystem::path path = {})
      : std::runtime_error(message), kind_(kind), errno_(errno_value), path_(std::move(path)) {}
  ErrorKind kind() const { return kind_; }
  int errno_value() const { return errno_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  ErrorKind kind_;
  int errno_;
  std::filesystem::path path_;
};

}  // namespace dw
