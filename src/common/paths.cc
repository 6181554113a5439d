#include "common/paths.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

#include "common/messages.h"
#include "platform/process.h"
#include "platform/utf8_path.h"

namespace dw {
namespace fs = std::filesystem;

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

std::optional<std::string> ChooseIgnoringCase(std::string_view name, const std::vector<std::string>& matches) {
  if (matches.empty()) return std::nullopt;
  if (std::find(matches.begin(), matches.end(), name) != matches.end()) return std::string(name);
  return *std::min_element(matches.begin(), matches.end());
}

namespace {

// Missing folders (or a file where a folder was expected) are an answer, not a failure.
bool IsAbsence(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const fs::path& dir) {
  std::vector<FolderEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code type_ec;
    entries.push_back({Utf8FromPath(it->path().filename()), it->is_directory(type_ec)});
  }
  if (ec && !(entries.empty() && IsAbsence(ec))) throw TextFileError(dir, ec.value());
  return entries;
}

std::optional<fs::path> FindIgnoringCase(const fs::path& dir, std::string_view name) {
  std::error_code ec;
  fs::path exact = dir / PathFromUtf8(name);
  // On a file system that ignores case (Windows, FAT) the exact name "exists" in any spelling:
  // when the name with its letters' case swapped exists too, the listing tells the disk's one.
  if (fs::exists(fs::symlink_status(exact, ec))) {
    std::string swapped(name);
    for (char& c : swapped) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (swapped == name || !fs::exists(fs::symlink_status(dir / PathFromUtf8(swapped), ec))) return exact;
  }
  std::vector<std::string> matches;
  for (FolderEntry& entry : ListFolder(dir)) {
    if (EqualsIgnoreAsciiCase(entry.name, name)) matches.push_back(std::move(entry.name));
  }
  if (auto chosen = ChooseIgnoringCase(name, matches)) return dir / *chosen;
  return std::nullopt;
}

fs::path ResolveIgnoringCase(const fs::path& root, std::initializer_list<std::string_view> components) {
  fs::path current = root;
  bool found = true;
  for (std::string_view c : components) {
    if (found) {
      if (auto hit = FindIgnoringCase(current, c)) {
        current = *hit;
        continue;
      }
      found = false;
    }
    current /= PathFromUtf8(c);
  }
  return current;
}

namespace {

size_t Utf8Length(std::string_view s, size_t i) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
  return std::min(n, s.size() - i);
}

bool Match(std::string_view p, std::string_view n) {
  if (p.empty()) return n.empty();
  if (p[0] == '*') {
    for (size_t i = 0; i <= n.size(); i += (i < n.size() ? Utf8Length(n, i) : 1)) {
      if (Match(p.substr(1), n.substr(i))) return true;
    }
    return false;
  }
  if (n.empty()) return false;
  if (p[0] == '?') return Match(p.substr(1), n.substr(Utf8Length(n, 0)));
  char a = p[0], b = n[0];
  if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
  if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
  return a == b && Match(p.substr(1), n.substr(1));
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) { return Match(pattern, name); }

fs::path ExecutableDir() {
  const fs::path exe = platform::ExecutableFile();
  if (exe.empty()) return fs::current_path();
  return exe.parent_path();
}

}  // namespace dw
