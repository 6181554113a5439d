// datawright-cli: the catalog conversion and the check-list jobs from the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "common/build_info.h"
#include "common/messages.h"
#include "common/workspace_location.h"
#include "platform/process.h"
#include "platform/utf8_path.h"

namespace {

void PrintHelp() {
  dw::cli::PrintUsage(stdout);
  std::fputs(
      "version: datawright-cli --version\n"
      "workspace (where convert assembles the data set and import reads the day tables):\n"
      "  --workspace DIR, else $DATAWRIGHT_WORKSPACE, else for the installed program\n"
      "  $XDG_DATA_HOME/datawright/DATA (~/.local/share/datawright/DATA), else DATA beside this\n"
      "  program. When it does not come from --workspace it is named on stderr.\n",
      stdout);
}

// Gives convert and import the workspace of the one rule both programs share when the command
// line names none, and tells the user which folder that is.
bool SupplyWorkspace(std::vector<std::string>& args) {
  if (dw::cli::AsksForHelp(args)) return true;
  if (const auto given = dw::cli::FindOption(args, "--workspace")) {
    if (!given->empty()) return true;
    std::fprintf(stderr, "datawright-cli: --workspace needs a folder\n");
    return false;
  }
  const dw::WorkspaceChoice workspace = dw::FindWorkspace(std::nullopt);
  std::fprintf(stderr, "作業フォルダ: %s\n", dw::DisplayPath(workspace.path).c_str());
  args.insert(args.begin(), {"--workspace", dw::Utf8FromPath(workspace.path)});
  return true;
}

}  // namespace

int main(int argc, char** raw_argv) {
  using namespace dw::cli;
  dw::platform::PrepareConsole();
  const std::vector<std::string> utf8_args = dw::platform::Utf8Arguments(argc, raw_argv);
  std::vector<char*> argv;
  for (const std::string& arg : utf8_args) argv.push_back(const_cast<char*>(arg.c_str()));
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (command == "--version") {
    std::printf("%s\n", dw::kVersionLine);
    return kExitOk;
  }
  std::vector<std::string> args(argv.begin() + 2, argv.end());
  try {
    if (command == "convert" || command == "import") {
      if (!SupplyWorkspace(args)) return kExitUsage;
      return command == "convert" ? RunConvert(args) : RunImport(args);
    }
    if (command == "export") return RunExport(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
  std::fprintf(stderr, "datawright-cli: unknown command '%s'\n", command.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
