#include "convert/workspace_copy.h"

#include <cerrno>
#include <system_error>

#include "common/atomic_file.h"
#include "common/messages.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void CopyFailed(const fs::path& what, const std::error_code& ec) {
  throw Error("ファイルをコピーできません: " + DisplayPath(what) + " (" + SystemReason(ec.value()) + ")");
}

void CopyTree(const fs::path& from, const fs::path& to) {
  ForceDirectories(to);
  std::error_code ec;
  fs::directory_iterator it(from, ec);
  if (ec) CopyFailed(from, ec);
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) CopyFailed(from, ec);
    const fs::path& source = it->path();
    const fs::path target = to / source.filename();
    if (it->is_directory(ec)) {
      CopyTree(source, target);
    } else if (it->is_regular_file(ec) && !IsPartialFile(source)) {
      std::string bytes;
      try {
        bytes = ReadWholeFile(source);
        AtomicSave(target, bytes);
      } catch (const Error& e) {
        throw Error("ファイルをコピーできません: " + DisplayPath(source) + "\n" + e.what());
      }
    }
  }
  if (ec) CopyFailed(from, ec);
}

}  // namespace

void CopyWorkspace(const fs::path& workspace, const fs::path& destination) {
  try {
    ForceDirectories(destination);
    // Leftovers of a copy that was killed are not part of the data set.
    RemoveStalePartials(destination);
  } catch (const Error& e) {
    throw Error(std::string("ファイルをコピーできません: ") + e.what());
  }
  CopyTree(workspace, destination);
}

}  // namespace dw
