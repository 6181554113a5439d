// datawright-cli import CSV OUTDIR [--workspace DIR]
// datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]
#include <cstdio>
#include <string>

#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "common/messages.h"
#include "common/paths.h"
#include "platform/utf8_path.h"

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
  job.params.csv_file = PathFromUtf8(a.positional[0]);
  job.params.output_folder = ImportOutputFolder(PathFromUtf8(a.positional[1]));
  job.params.workspace = PathFromUtf8(a.Option("--workspace").value_or(Utf8FromPath(ExecutableDir() / "DATA")));
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
  job.params.source_folder = PathFromUtf8(a.positional[0]);
  job.params.destination_folder = PathFromUtf8(a.positional[1]);
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
