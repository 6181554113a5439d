// datawright-cli import CSV OUTDIR [--workspace DIR]
// datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]
#include <cstdio>
#include <string>

#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "checklist/job_reports.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "common/paths.h"
#include "platform/utf8_path.h"

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

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

}  // namespace

int RunImport(const std::string& csv, const std::string& output, const std::string& workspace) {
  CheckListImport job;
  job.params.csv_file = PathFromUtf8(csv);
  job.params.output_folder = ImportOutputFolder(PathFromUtf8(output));
  job.params.workspace = PathFromUtf8(workspace);
  try {
    const CheckListImportResult result = job.Run();
    // What was done before a stop (a backup, the days written) is reported as well.
    if (result.outcome != CheckListImportOutcome::kNotVer1) PrintLines(ImportReportLines(result, job.params.output_folder));
    if (result.outcome != CheckListImportOutcome::kCompleted) {
      PrintMessage(result.message);
      return kExitFailed;
    }
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

int RunExport(const std::string& zavo_ds, const std::string& output, int colour) {
  CheckListExport job;
  job.params.substitute_colour = colour;
  job.params.source_folder = PathFromUtf8(zavo_ds);
  job.params.destination_folder = PathFromUtf8(output);
  try {
    PrintLines(ExportReportLines(job.Run()));
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

}  // namespace dw::cli
