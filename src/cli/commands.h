// Sub-commands of datawright-cli. Each returns the exit status: 0 success, 1 the job failed, 2 a
// usage error; convert returns 130 / 143 when SIGINT / SIGTERM stopped it.
#pragma once

#include <string>
#include <vector>

namespace dw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunConvert(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);

// Prints the whole usage text to `out`.
void PrintUsage(std::FILE* out);

}  // namespace dw::cli
