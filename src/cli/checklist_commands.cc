// datawright-cli import CSV OUTDIR [--workspace DIR]
// datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]
#include <cstdio>
#include <string>

#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "checklist/job_reports.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "common/paths.h"

namespace dw::cli {

namespace {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "datawright-cli: %s\n", message.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}

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

int RunImport(const std::vector<std::string>& args) {
  Arguments a = ParseArguments(args, {"--workspace"});
  if (a.help) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (!a.error.empty()) return UsageError(a.error);
  if (a.positional.size() != 2) return UsageError("import takes CSV and OUTDIR");

  CheckListImport job;
  job.params.csv_file = a.positional[0];
  job.params.output_folder = ImportOutputFolder(a.positional[1]);
  job.params.workspace = a.Option("--workspace").value_or((ExecutableDir() / "DATA").string());
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

int RunExport(const std::vector<std::string>& args) {
  Arguments a = ParseArguments(args, {"--colour"});
  if (a.help) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (!a.error.empty()) return UsageError(a.error);
  if (a.positional.size() != 2) return UsageError("export takes ZAVO_DS_DIR and OUTDIR");

  CheckListExport job;
  const std::string colour = a.Option("--colour").value_or("0");
  if (colour.size() != 1 || colour[0] < '0' || colour[0] > '9') return UsageError("--colour is 0 to 9");
  job.params.substitute_colour = colour[0] - '0';
  job.params.source_folder = a.positional[0];
  job.params.destination_folder = a.positional[1];
  try {
    PrintLines(ExportReportLines(job.Run()));
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

}  // namespace dw::cli
