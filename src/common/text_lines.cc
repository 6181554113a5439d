#include "common/text_lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/atomic_file.h"
#include "common/error.h"

namespace dw {

std::vector<std::string> SplitTextLines(std::string_view bytes, LoneCr lone_cr) {
  if (size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) bytes = bytes.substr(0, eof);
  std::vector<std::string> lines;
  std::string line;
  bool open = false;  // a line has started and not yet ended
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
    } else if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // CR LF: the LF ends it
      if (lone_cr == LoneCr::kEndsLine) {
        lines.push_back(std::move(line));
        line.clear();
        open = false;
      } else {
        open = true;
      }
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& path, LoneCr lone_cr) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw TextFileError(path, errno);
  ::close(fd);
  std::string bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const Error&) {
    throw TextFileError(path, errno ? errno : EIO);
  }
  return SplitTextLines(bytes, lone_cr);
}

}  // namespace dw
