// Helpers for the harnesses: every reader of outside data is fed raw bytes, and a dw::Error is a
// clean rejection. Anything else (a crash, a sanitizer report, another exception) is a finding.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"

namespace dw::fuzz {

inline std::string_view AsBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A per-process scratch folder for readers that take paths. It lives in memory (/dev/shm) when
// that exists, so the atomic saves of the job harnesses do not wait for a disk, and it is removed
// when the harness exits normally (a crashing run leaves it for inspection).
inline std::filesystem::path ScratchPath() {
  std::error_code ec;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
  return base / ("dwfuzz-" + std::to_string(::getpid()));
}

inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    auto p = ScratchPath();
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchPath(), ec);
    });
    return p;
  }();
  return dir;
}

// A fresh, empty sub-folder of the scratch folder (emptied on every call).
inline std::filesystem::path FreshDir(const std::string& name) {
  const std::filesystem::path dir = ScratchDir() / name;
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir);
  return dir;
}

// Writes `bytes` to `path`, creating its parent folders.
inline void PutFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Several files from one input: the parts are separated by kPartSeparator. Part k is absent
// (nullopt) when the input has fewer than k separators; the last part takes the rest, separators
// included. The seed corpora are written in this form, so mutations keep most of the structure.
inline constexpr std::string_view kPartSeparator = "@@DW@@";
inline std::vector<std::optional<std::string_view>> SplitParts(std::string_view bytes, size_t count) {
  std::vector<std::optional<std::string_view>> parts(count);
  for (size_t k = 0; k < count; ++k) {
    if (k + 1 == count) {
      parts[k] = bytes;
      break;
    }
    const size_t at = bytes.find(kPartSeparator);
    if (at == std::string_view::npos) {
      parts[k] = bytes;
      break;
    }
    parts[k] = bytes.substr(0, at);
    bytes.remove_prefix(at + kPartSeparator.size());
  }
  return parts;
}

// Writes a part to `path` when it is present; an absent part leaves the file missing.
inline void PutPart(const std::filesystem::path& path, const std::optional<std::string_view>& part) {
  if (part) PutFile(path, *part);
}

// Runs `f`, treating dw::Error as the reader's clean answer to bad input.
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const dw::Error&) {
  }
}

// Stops the run with a crash report when a reader's promise does not hold.
inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace dw::fuzz
