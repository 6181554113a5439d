// Paths from and to UTF-8 text. On Windows fs::path(std::string) reads the bytes in neither UTF-8
// nor the ANSI code page, so every path made from text goes through PathFromUtf8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dw {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace dw
