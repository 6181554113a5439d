// datawright-cli: the catalog conversion, the check-list jobs and the data-set tools from the
// command line.
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "platform/process.h"

int main(int argc, char** raw_argv) {
  dw::platform::PrepareConsole();
  // The arguments as UTF-8 whatever the system's code page (Windows hands them in the ANSI one).
  std::vector<std::string> args = dw::platform::Utf8Arguments(argc, raw_argv);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return dw::cli::RunCommandLine(static_cast<int>(args.size()), argv.data());
}
