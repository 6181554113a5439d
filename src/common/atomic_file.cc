#include "common/atomic_file.h"

#include <cerrno>

#include "common/messages.h"
#include "platform/file.h"

namespace dw {
namespace fs = std::filesystem;

bool IsPartialFile(const fs::path& path) {
  const std::string name = path.filename().string();
  return name.size() > kPartialSuffix.size() &&
         name.compare(name.size() - kPartialSuffix.size(), kPartialSuffix.size(), kPartialSuffix) == 0;
}

namespace {

enum class Flush { kNo, kYes };

void Save(const fs::path& path, std::string_view bytes, Flush flush) {
  fs::path temp = path;
  temp += kPartialSuffix;
  int error = platform::WriteWholeFile(temp, bytes, flush == Flush::kYes);
  if (error == 0) error = platform::RenameOver(temp, path);
  if (error != 0) {
    platform::RemoveFile(temp);
    throw CannotCreate(path, error);
  }
}

}  // namespace

void AtomicSave(const fs::path& path, std::string_view bytes) { Save(path, bytes, Flush::kNo); }

void DurableSave(const fs::path& path, std::string_view bytes) { Save(path, bytes, Flush::kYes); }

void ReadWholeFileInto(const fs::path& path, std::string& out) {
  if (int e = platform::ReadWholeFileInto(path, out)) throw CannotOpen(path, e);
}

std::string ReadWholeFile(const fs::path& path) {
  std::string out;
  ReadWholeFileInto(path, out);
  return out;
}

int RemoveStalePartials(const fs::path& root) {
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return 0;
  int removed = 0;
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec) && IsPartialFile(it->path())) {
      std::error_code rm;
      if (fs::remove(it->path(), rm)) ++removed;
    }
  }
  return removed;
}

void ForceDirectories(const fs::path& dir) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir)) {
    int e = ec ? ec.value() : ENOTDIR;
    // A file standing where a folder should be reports EEXIST; say what is really wrong.
    if (e == EEXIST) e = ENOTDIR;
    throw CannotCreate(dir, e);
  }
}

}  // namespace dw
