// Helpers for the harnesses: every reader of outside data is fed raw bytes, and a dw::Error is a
// clean rejection. Anything else (a crash, a sanitizer report, another exception) is a finding.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/error.h"

namespace dw::fuzz {

inline std::string_view AsBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A per-process scratch folder for readers that take paths.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    auto p = std::filesystem::temp_directory_path() / ("dwfuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return dir;
}

// Runs `f`, treating dw::Error as the reader's clean answer to bad input.
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const dw::Error&) {
  }
}

}  // namespace dw::fuzz
