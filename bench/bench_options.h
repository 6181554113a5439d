// Command-line options of the benchmark programs: "--name value" pairs.
#pragma once

#include <cstdlib>
#include <cstring>

namespace dw::bench {

// The value after `name`, or `fallback` when it is not given.
inline const char* Option(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return fallback;
}

inline int IntOption(int argc, char** argv, const char* name, int fallback) {
  const char* v = Option(argc, argv, name, nullptr);
  return v ? std::atoi(v) : fallback;
}

}  // namespace dw::bench
