#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/messages.h"

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
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw CannotCreate(path, errno);
  const char* p = bytes.data();
  size_t left = bytes.size();
  int error = 0;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // File systems that cannot flush (EINVAL) or are read-only (EROFS) have nothing to flush.
  if (error == 0 && flush == Flush::kYes && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw CannotCreate(path, error);
  }
}

}  // namespace

void AtomicSave(const fs::path& path, std::string_view bytes) { Save(path, bytes, Flush::kNo); }

void DurableSave(const fs::path& path, std::string_view bytes) { Save(path, bytes, Flush::kYes); }

void ReadWholeFileInto(const fs::path& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw CannotOpen(path, errno);
  // Read straight into a buffer of the file's size; a file that grows meanwhile is read on.
  struct stat st {};
  size_t size = 0;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) size = static_cast<size_t>(st.st_size);
  constexpr size_t kMoreBytes = 65536;
  out.resize(size > 0 ? size + 1 : kMoreBytes);
  size_t filled = 0;
  for (;;) {
    if (filled == out.size()) out.resize(out.size() * 2);
    ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      throw CannotOpen(path, e);
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  ::close(fd);
  out.resize(filled);
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
