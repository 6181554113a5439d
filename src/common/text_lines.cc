#include "common/text_lines.h"

#include <cerrno>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "platform/file.h"

namespace dw {
namespace {

// bytes.find_first_of("\r\n", pos) with two memchr scans instead of a set test per byte.
size_t FirstLineBreak(std::string_view bytes, size_t pos) {
  const size_t lf = bytes.find('\n', pos);
  const size_t cr = bytes.substr(0, lf == std::string_view::npos ? bytes.size() : lf).find('\r', pos);
  return cr != std::string_view::npos ? cr : lf;
}

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view bytes, LoneCr lone_cr) {
  if (size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) bytes = bytes.substr(0, eof);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = FirstLineBreak(bytes, pos);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(pos));
      break;
    }
    if (bytes[end] == '\n' || lone_cr == LoneCr::kEndsLine ||
        (end + 1 < bytes.size() && bytes[end + 1] == '\n')) {
      lines.emplace_back(bytes.substr(pos, end - pos));
      pos = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
      continue;
    }
    // A lone CR in a catalog line is dropped: gather the line's pieces around each one.
    std::string line(bytes.substr(pos, end - pos));
    pos = end + 1;
    for (;;) {
      size_t next = FirstLineBreak(bytes, pos);
      if (next == std::string_view::npos) {
        line.append(bytes.substr(pos));
        pos = bytes.size();
        break;
      }
      line.append(bytes.substr(pos, next - pos));
      if (bytes[next] == '\n') {
        pos = next + 1;
        break;
      }
      if (next + 1 < bytes.size() && bytes[next + 1] == '\n') {
        pos = next + 2;
        break;
      }
      pos = next + 1;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& path, LoneCr lone_cr) {
  std::string bytes;
  if (int e = platform::ReadWholeFileInto(path, bytes)) throw TextFileError(path, e);
  return SplitTextLines(bytes, lone_cr);
}

}  // namespace dw
