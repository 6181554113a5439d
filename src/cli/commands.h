// Sub-commands of datawright-cli, called by the command line (cli_app.h) once it has parsed and
// validated the arguments. Each returns the exit status: 0 success, 1 the job failed (or check
// found faults); convert returns 130 / 143 when SIGINT / SIGTERM stopped it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace dw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct ConvertOptions {
  std::string source, destination, workspace;
  std::string mode = "all";  // all, data or images
  int threads = 0;
  bool read_back = true;
};
int RunConvert(const ConvertOptions& options);
int RunImport(const std::string& csv, const std::string& output, const std::string& workspace);
int RunExport(const std::string& zavo_ds, const std::string& output, int colour);
// Faults on stdout, one line each; with a workspace also the files that differ from it.
int RunCheck(const std::filesystem::path& set, const std::filesystem::path& against);
// A .gdc (with the set's SYSTEM/Palette.pal, or `palette`) or a MAP<d><g>mini.dat as a PNG.
int RunShow(const std::filesystem::path& file, const std::filesystem::path& png, const std::filesystem::path& palette);

// The long usage text of every command.
const char* UsageText();

}  // namespace dw::cli
