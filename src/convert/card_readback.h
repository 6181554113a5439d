// Reading back what the copy sent: every file of the workspace against its copy in the card's
// ZAVO_DS, read from the card itself (see device_reader.h). The same comparison serves the check
// of a data set against a workspace.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/status_log.h"
#include "common/stop_request.h"

namespace dw {

struct FileDifference {
  std::string relative;  // '/'-separated, below the set
  uint64_t offset = 0;   // of the first byte that differs (the shorter file's length when one ends first)
  std::string what;
};

struct SetComparison {
  size_t files = 0;    // files compared and found equal
  uint64_t bytes = 0;  // bytes compared
  std::vector<FileDifference> differences;
};

struct CompareOptions {
  bool stop_at_first = true;
  const StopRequest* stop = nullptr;  // throws ReadBackStopped between files when requested
  // Called with each set file's descriptor after its cached pages were dropped, before the read
  // (on the thread comparing the file).
  std::function<void(int fd)> before_read;
  std::function<void(size_t done, size_t total)> progress;
  // Files are compared on up to this many threads; progress, stopping and the outcome stay in
  // name order on the calling thread.
  int threads = 1;
};

// Compares every file the copy sends from `workspace` (all but "*.partial") with the file of the
// same relative path below `set`. A check file whose copy on the card holds the visitor's data
// where the workspace's is empty is one the copy kept, not a difference.
SetComparison CompareSetWithWorkspace(const std::filesystem::path& workspace, const std::filesystem::path& set,
                                      const CompareOptions& options);

// The read-back after the copy into `set` (the card's ZAVO_DS): adds "書き込み確認: <n> ファイル一致"
// to the log, or throws CardReadBackFailed naming the first file that differs.
void ReadBackCard(const std::filesystem::path& workspace, const std::filesystem::path& set, StatusLog& log,
                  const StopRequest* stop, int threads = 1);

// "1,234".
std::string WithThousands(uint64_t n);

}  // namespace dw
