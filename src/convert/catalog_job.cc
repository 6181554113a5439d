#include "convert/catalog_job.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

#include "convert/card_folder.h"
#include "convert/card_readback.h"
#include "convert/folder_lock.h"
#include "convert/parallel_each.h"
#include "convert/stop_point.h"
#include "convert/workspace_copy.h"
#include "convert/workspace_overlap.h"
#include "catalog/data_conversion.h"
#include "dataset/check_backup.h"
#include "dataset/layout.h"
#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/paths.h"
#include "images/hall_maps_ahead.h"
#include "images/image_conversion.h"
#include "platform/process.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

const char* const kSeparator = "---------------------------";
// Reading and summing the workspace's and the card's files gains little from more threads.
constexpr int kMostFileThreads = 4;

}  // namespace

fs::path ZavoDsFolder(const fs::path& destination) { return destination / kZavoDsFolder; }

fs::path FindDefinitionFile(const fs::path& source_root) {
  const fs::path cdata = ResolveIgnoringCase(source_root, {"CDATA"});
  std::vector<fs::path> matches;
  for (const FolderEntry& entry : ListFolder(cdata)) {
    if (!entry.is_folder && WildcardMatch("C??DEF.TXT", entry.name)) matches.push_back(cdata / entry.name);
  }
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

std::optional<fs::path> CatalogFolderNear(const fs::path& chosen) {
  const fs::path parent = chosen.parent_path();
  if (EqualsIgnoreAsciiCase(chosen.filename().string(), kCdataFolder) && parent != chosen &&
      !FindDefinitionFile(parent).empty()) {
    return parent;
  }
  std::optional<fs::path> found;
  std::error_code ec;
  for (auto it = fs::directory_iterator(chosen, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (!it->is_directory(ec) || FindDefinitionFile(it->path()).empty()) continue;
    if (found) return std::nullopt;  // several: the user has to choose
    found = it->path();
  }
  return found;
}

std::string FormatElapsed(std::chrono::milliseconds elapsed) {
  long long seconds = std::max<long long>(0, elapsed.count() / 1000);
  char text[16];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", (seconds / 3600) % 24, (seconds / 60) % 60,
                seconds % 60);
  return text;
}

CatalogJobOutcome RunCatalogJob(const CatalogJobParams& params, StatusLog& log) {
  platform::PrepareHeapForImages();
  log.ClearLines();
  log.SetLabel("データ変換中です。");
  const auto start = std::chrono::steady_clock::now();

  // Checked before anything is created: the destination exists (it is never created) and lies
  // apart from the workspace; no other run uses either.
  const CardFolder card(params.destination);
  CheckDestinationApartFromWorkspace(params.destination, params.workspace);
  const FolderLock card_lock(params.destination, "保存先フォルダ");
  // Creating folders that exist writes nothing, so they come before the workspace's lock.
  for (const char* folder : kDataSetFolders) ForceDirectories(params.workspace / folder);
  const FolderLock workspace_lock(params.workspace, "作業フォルダ");
  // A stop request between phases ends the run with a status line saying so.
  auto stop_point = [&] {
    if (params.stop == nullptr || !params.stop->requested()) return;
    log.SetLabel("エラー発生");
    log.AddLine("作業を中止しました");
    StopIfRequested(params.stop);
  };
  stop_point();

  // A killed run may have left temporary files; they must not reach the memory card.
  RemoveStalePartials(params.workspace);
  log.EnableBackButton(false);
  log.Show();
  log.ProcessEvents();
  // A copy that a crash interrupted is finished while the workspace still holds what it listed.
  const bool card_set_whole = RecoverInterruptedCopy(card, params.workspace, log).finished;

  const fs::path definition = FindDefinitionFile(params.source_root);
  if (definition.empty()) {
    log.SetLabel("エラー発生");
    log.AddLine("ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした。");
    log.AddLine("作業を終了します");
    log.EnableBackButton(true);
    return CatalogJobOutcome::kDefinitionNotFound;
  }
  const std::string found = definition.filename().string();
  // The two characters standing for "??" (one character may take several UTF-8 bytes).
  std::string event_number;
  {
    size_t i = 1;
    for (int n = 0; n < 2 && i < found.size(); ++n) {
      size_t len = 1;
      unsigned char b = static_cast<unsigned char>(found[i]);
      if (b >= 0xF0) len = 4;
      else if (b >= 0xE0) len = 3;
      else if (b >= 0xC0) len = 2;
      event_number += found.substr(i, len);
      i += len;
    }
  }
  log.AddLine("\"" + found + "\" 発見");
  log.AddLine(kSeparator);
  log.SetProgressPosition(0);

  DataConversion data(log);
  data.RootFld = params.source_root;
  data.C_No = event_number;
  data.DstFld = params.workspace;
  data.safe_point = stop_point;
  ImageConversion images(log);
  images.RootFld = params.source_root;
  images.DstFld = params.workspace;
  images.threads = params.image_threads;
  images.safe_point = stop_point;

  switch (params.mode) {
    case static_cast<int>(ConversionMode::kDataAndImages): {
      // The hall maps need no day starts: unless the run keeps to one thread, they are prepared on
      // a thread of their own while the data tables are converted on this one. Leaving this scope
      // (also by an error or a stop request) stops and joins that thread.
      std::optional<HallMapsAhead> maps;
      if (params.image_threads != 1) {
        maps.emplace(params.source_root, params.workspace);
        maps->Start();
        images.hall_maps_ahead = &*maps;
      }
      data.Run();
      log.ProcessEvents();
      stop_point();
      images.Run();
      images.hall_maps_ahead = nullptr;
      break;
    }
    case static_cast<int>(ConversionMode::kDataOnly):
      data.Run();
      log.ProcessEvents();
      break;
    case static_cast<int>(ConversionMode::kImagesOnly):
      images.Run();
      log.ProcessEvents();
      break;
    default:
      break;
  }

  const auto end = std::chrono::steady_clock::now();
  log.SetLabel("データ変換終了。");
  log.AddLine(kSeparator);
  log.SetLabel("ファイルコピー中です。");
  log.AddLine("ファイルコピー作業開始");
  log.ProcessEvents();

  stop_point();
  const int file_threads = ThreadsFor(params.image_threads, kMostFileThreads);
  try {
    CopyWorkspaceToCard(params.workspace, card, log, params.stop, BackupStamp(std::time(nullptr)), card_set_whole,
                        file_threads);
  } catch (const Error& e) {
    log.SetLabel("エラー発生");
    log.AddLine(e.kind() == ErrorKind::kStopped ? "作業を中止しました" : "ファイルコピーに失敗しました");
    throw;
  }
  if (params.read_back) {
    try {
      ReadBackCard(params.workspace, ZavoDsFolder(params.destination), log, params.stop, file_threads);
    } catch (const Error& e) {
      log.SetLabel("エラー発生");
      log.AddLine(e.kind() == ErrorKind::kStopped ? "書き込み確認を中止しました" : "書き込み確認に失敗しました");
      throw;
    }
  }

  log.SetLabel("作業終了しました。");
  log.AddLine(kSeparator);
  log.AddLine("作業終了");
  log.AddLine(FormatElapsed(std::chrono::duration_cast<std::chrono::milliseconds>(end - start)));
  log.EnableBackButton(true);
  return CatalogJobOutcome::kCompleted;
}

}  // namespace dw
