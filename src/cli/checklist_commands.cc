// Placeholder until the check-list jobs land.
#include <cstdio>

#include "cli/commands.h"

namespace dw::cli {

int RunImport(const std::vector<std::string>&) {
  std::fputs("datawright-cli: import is not available in this build\n", stderr);
  return kExitFailed;
}

int RunExport(const std::vector<std::string>&) {
  std::fputs("datawright-cli: export is not available in this build\n", stderr);
  return kExitFailed;
}

}  // namespace dw::cli
