// The catalog conversion job: catalog folder -> workspace -> <destination>/ZAVO_DS/.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "common/status_log.h"
#include "common/stop_request.h"

namespace dw {

enum class ConversionMode { kDataAndImages = 0, kDataOnly = 1, kImagesOnly = 2 };

struct CatalogJobParams {
  std::filesystem::path source_root;       // holds CDATA, MDATA, PDATA
  std::filesystem::path destination;       // the chosen folder; ZAVO_DS is created in it
  std::filesystem::path workspace;         // normally DATA beside the executable
  int mode = static_cast<int>(ConversionMode::kDataAndImages);  // other values convert nothing
  int image_threads = 0;                   // 0: one worker per core
  bool read_back = true;                   // read the card back after the copy (card_readback.h)
  // Set by a signal handler or the desktop program to stop the run at its next safe point (between
  // phases, between files of the copy); may be null.
  const StopRequest* stop = nullptr;
};

enum class CatalogJobOutcome {
  kCompleted,           // converted and copied
  kDefinitionNotFound,  // the orderly stop: no CDATA/C??DEF.TXT
};

// The destination folder of the data set: <destination>/ZAVO_DS.
std::filesystem::path ZavoDsFolder(const std::filesystem::path& destination);

// Finds the definition file: the first entry (in name order) of <root>/CDATA matching C??DEF.TXT
// regardless of ASCII case. Returns an empty path when there is none.
std::filesystem::path FindDefinitionFile(const std::filesystem::path& source_root);

// The catalog folder a user most likely meant on choosing `chosen`, a folder that holds no
// definition file: its parent when `chosen` is a CDATA folder (any letter case) of a catalog,
// otherwise its one sub-folder that is a catalog folder. Empty when there is none, or several.
std::optional<std::filesystem::path> CatalogFolderNear(const std::filesystem::path& chosen);

// "hh:nn:ss" of an elapsed time; hours wrap after 24.
std::string FormatElapsed(std::chrono::milliseconds elapsed);

// Runs the job after the front end has asked for confirmation: clears the log, checks the
// destination (an existing folder apart from the workspace), locks the workspace and the
// destination against a second run, creates the workspace folders, converts by mode and copies
// (see workspace_copy.h). Writes every status line; the front end beeps at the start and end.
// Errors propagate as dw::Error (the log keeps its lines, the back button stays disabled): a
// stop request as ErrorKind::kStopped, a busy folder as kBusy, a pulled-out card as
// kCardRemoved, a full one as kNoSpace; a failed copy adds a status line before its error.
CatalogJobOutcome RunCatalogJob(const CatalogJobParams& params, StatusLog& log);

}  // namespace dw
