#include "convert/card_readback.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "convert/card_check_files.h"
#include "convert/card_files.h"
#include "convert/device_reader.h"
#include "images/ordered_pipeline.h"
#include "platform/folder.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr size_t kChunk = 1 << 18;

// The files the copy sends, '/'-separated below the workspace, in name order.
std::vector<std::string> SentFiles(const fs::path& workspace) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(workspace, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file(ec) && !IsPartialFile(it->path())) {
      files.push_back(it->path().lexically_relative(workspace).generic_string());
    }
  }
  if (ec) throw CannotOpen(workspace, ec.value());
  std::sort(files.begin(), files.end());
  return files;
}

// The card kept its own check file, with the visitor's data, in place of the workspace's empty one.
bool KeptCheckFile(const std::string& relative, const fs::path& card_file, const fs::path& workspace_file) {
  const std::string name = fs::path(relative).filename().string();
  if (!IsCheckFileName(name)) return false;
  try {
    return HoldsVisitorData(name, ReadWholeFile(card_file)) && !HoldsVisitorData(name, ReadWholeFile(workspace_file));
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

namespace {

// What the comparison of one file found.
struct FileCheck {
  uint64_t bytes = 0;
  std::optional<FileDifference> difference;
};

FileCheck CompareFile(const fs::path& workspace, const fs::path& set, const std::string& relative,
                      const CompareOptions& options, char* mine, char* theirs) {
  FileCheck check;
  DeviceReader card(set / relative, true);
  if (card.error() != 0) {
    check.difference = FileDifference{relative, 0, "カードにありません: " + SystemReason(card.error())};
    return check;
  }
  if (options.before_read) options.before_read(card.fd());
  DeviceReader source(workspace / relative, false);
  if (source.error() != 0) throw CannotOpen(workspace / relative, source.error());
  // Where both files have the same holes (the copy keeps the workspace's where the card's file
  // system can), only their data is compared: a hole reads as zeros on either side.
  uint64_t size = 0, source_size = 0;
  std::vector<std::pair<uint64_t, uint64_t>> stretches;
  if (platform::SizeOf(card.fd(), size) == 0 && platform::SizeOf(source.fd(), source_size) == 0 &&
      size == source_size) {
    stretches = DataStretches(card.fd(), size);
    if (!HasHoles(stretches, size) || DataStretches(source.fd(), size) != stretches) stretches.clear();
  }
  const bool whole = stretches.empty();
  if (whole) stretches.assign(1, {0, UINT64_MAX});  // to the end of either file
  uint64_t offset = 0;
  std::string difference;
  for (const auto& [start, end] : stretches) {
    if (platform::Seek(source.fd(), start) != 0) throw CannotOpen(workspace / relative, errno);
    if (platform::Seek(card.fd(), start) != 0) {
      difference = "読めません: " + SystemReason(errno);
      break;
    }
    offset = start;
    for (uint64_t left = end - start; difference.empty() && left > 0;) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
      const long long a = source.Read(mine, want);
      if (a < 0) throw CannotOpen(workspace / relative, source.error());
      const long long b = card.Read(theirs, want);
      if (b < 0) {
        difference = "読めません: " + SystemReason(card.error());
        break;
      }
      const size_t n = static_cast<size_t>(std::min(a, b));
      const auto at = std::memcmp(mine, theirs, n) == 0 ? std::make_pair(mine + n, theirs + n)
                                                         : std::mismatch(mine, mine + n, theirs);
      if (at.first != mine + n) {
        offset += static_cast<uint64_t>(at.first - mine);
        difference = "内容が違います";
        break;
      }
      offset += n;
      if (a != b) {
        difference = a < b ? "カードの方が長くなっています" : "カードの方が短くなっています";
        break;
      }
      if (a == 0) {
        if (!whole) difference = "カードの方が短くなっています";  // both ended inside a stretch of data
        break;
      }
      left -= n;
    }
    if (!difference.empty()) break;
  }
  if (difference.empty() && !whole) offset = size;
  if (!difference.empty() && KeptCheckFile(relative, set / relative, workspace / relative)) difference.clear();
  if (!difference.empty()) check.difference = FileDifference{relative, offset, difference};
  check.bytes = offset;
  return check;
}

}  // namespace

SetComparison CompareSetWithWorkspace(const fs::path& workspace, const fs::path& set, const CompareOptions& options) {
  SetComparison result;
  const std::vector<std::string> files = SentFiles(workspace);
  // Files are compared on worker threads ahead of this one, which takes their outcomes in name
  // order: progress, stopping and the first difference are as with one thread.
  const int threads = options.threads > 1 ? options.threads - 1 : 0;
  std::vector<FileCheck> checks(files.size());
  std::vector<std::unique_ptr<char[]>> buffers;
  for (int w = 0; w <= threads; ++w) {
    buffers.emplace_back(new char[kChunk]);
    buffers.emplace_back(new char[kChunk]);
  }
  struct Enough {};  // the first difference ends the comparison
  try {
    RunOrdered(
        files.size(), threads, static_cast<size_t>(threads) * 2 + 1,
        [&](size_t i, int worker) {
          if (options.stop != nullptr && options.stop->requested()) return;  // thrown at its commit
          checks[i] = CompareFile(workspace, set, files[i], options, buffers[2 * worker].get(),
                                  buffers[2 * worker + 1].get());
        },
        [&](size_t i) {
          if (options.stop != nullptr && options.stop->requested()) throw ReadBackStopped();
          if (options.progress) options.progress(i, files.size());
          FileCheck& check = checks[i];
          if (check.difference) {
            result.differences.push_back(std::move(*check.difference));
            if (options.stop_at_first) throw Enough{};
            return;
          }
          ++result.files;
          result.bytes += check.bytes;
        });
  } catch (const Enough&) {
  }
  if (options.progress) options.progress(files.size(), files.size());
  return result;
}

void ReadBackCard(const fs::path& workspace, const fs::path& set, StatusLog& log, const StopRequest* stop,
                  int threads) {
  log.SetLabel("書き込み確認中です。");
  CompareOptions options;
  options.stop = stop;
  options.threads = threads;
  options.progress = [&](size_t done, size_t total) {
    if (done == 0) log.SetProgressMax(static_cast<int>(total));
    log.SetProgressPosition(static_cast<int>(done));
    log.ProcessEvents();
  };
  const SetComparison result = CompareSetWithWorkspace(workspace, set, options);
  if (!result.differences.empty()) {
    const FileDifference& first = result.differences.front();
    throw CardReadBackFailed(set / first.relative, first.what + "、オフセット " + std::to_string(first.offset));
  }
  log.AddLine("書き込み確認: " + WithThousands(result.files) + " ファイル一致");
}

std::string WithThousands(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace dw
