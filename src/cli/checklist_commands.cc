// datawright-cli import CSV OUTDIR [--workspace DIR]
// datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]
#include <cstdio>
#include <string>

#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "common/paths.h"

namespace dw::cli {

namespace {

// A stop message on stderr, one line per line of the message box (its CR/LF separators become
// plain line ends).
void PrintMessage(const std::string& message) {
  std::string text;
  for (size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c == '\r' || c == '\n') {
      if (i + 1 < message.size() && (message[i + 1] == '\r' || message[i + 1] == '\n') && message[i + 1] != c) ++i;
      text += '\n';
    } else {
      text += c;
    }
  }
  std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

int RunImport(const std::string& csv, const std::string& output, const std::string& workspace) {
  CheckListImport job;
  job.params.csv_file = csv;
  job.params.output_folder = ImportOutputFolder(output);
  job.params.workspace = workspace;
  try {
    const CheckListImportResult result = job.Run();
    if (result.outcome != CheckListImportOutcome::kCompleted) {
      PrintMessage(result.message);
      return kExitFailed;
    }
    std::printf("%d 日分のチェックファイルを %s に書きました。\n", result.days_written,
                DisplayPath(job.params.output_folder).c_str());
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

int RunExport(const std::string& zavo_ds, const std::string& output, int colour) {
  CheckListExport job;
  job.params.substitute_colour = colour;
  job.params.source_folder = zavo_ds;
  job.params.destination_folder = output;
  try {
    const CheckListExportResult result = job.Run();
    std::printf("%s に %zu 件を書きました (%d 日分)。\n", DisplayPath(result.csv_file).c_str(), result.record_lines,
                result.day_count);
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

}  // namespace dw::cli
