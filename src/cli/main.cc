// datawright-cli: the catalog conversion and the check-list jobs from the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace dw::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "convert") return RunConvert(args);
    if (command == "import") return RunImport(args);
    if (command == "export") return RunExport(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
  std::fprintf(stderr, "datawright-cli: unknown command '%s'\n", command.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
