// datawright-cli convert SOURCE DEST [--mode all|data|images] [--workspace DIR]
#include <unistd.h>

#include <cstdio>

#include "convert/catalog_job.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_status_log.h"
#include "common/messages.h"
#include "common/paths.h"
#include "platform/process.h"
#include "platform/utf8_path.h"

namespace dw::cli {

namespace {

StopRequest g_stop;

}  // namespace

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage:\n"
      "  datawright-cli convert SOURCE DEST [--mode all|data|images] [--workspace DIR] [--threads N]\n"
      "      Converts the catalog folder SOURCE (holding CDATA, MDATA, PDATA) into DEST/ZAVO_DS/;\n"
      "      DEST must be an existing folder apart from the workspace. The data set is assembled in\n"
      "      the workspace (--workspace, else $DATAWRIGHT_WORKSPACE, else the per-user data folder\n"
      "      of an installed program or DATA beside the program of a build tree).\n"
      "  datawright-cli import CSV OUTDIR [--workspace DIR]\n"
      "      Turns a check-list CSV (Ver.1) into OUTDIR/CheckList/Check<d>.dat and C_Memo<d>.dat.\n"
      "  datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]\n"
      "      Writes OUTDIR/ZAVO_DS_Check.csv from the handheld's check and purchase files;\n"
      "      N (0-9, default 0) replaces colours outside 1-9.\n"
      "exit status: 0 success, 1 the job failed, 2 usage error, 130/143 stopped by SIGINT/SIGTERM\n",
      out);
}

int RunConvert(const std::vector<std::string>& args) {
  Arguments a = ParseArguments(args, {"--mode", "--workspace", "--threads"});
  if (a.help) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (a.error.empty() && a.positional.size() != 2) a.error = "convert takes SOURCE and DEST";
  CatalogJobParams params;
  if (a.error.empty()) {
    std::string mode = a.Option("--mode").value_or("all");
    if (mode == "all") params.mode = static_cast<int>(ConversionMode::kDataAndImages);
    else if (mode == "data") params.mode = static_cast<int>(ConversionMode::kDataOnly);
    else if (mode == "images") params.mode = static_cast<int>(ConversionMode::kImagesOnly);
    else a.error = "--mode is all, data or images";
  }
  if (a.error.empty()) {
    if (auto t = a.Option("--threads")) {
      try {
        params.image_threads = std::stoi(*t);
      } catch (...) {
        params.image_threads = -1;
      }
      if (params.image_threads < 0 || params.image_threads > 64) a.error = "--threads is 0 to 64";
    }
  }
  if (!a.error.empty()) {
    std::fprintf(stderr, "datawright-cli: %s\n", a.error.c_str());
    PrintUsage(stderr);
    return kExitUsage;
  }
  params.source_root = PathFromUtf8(a.positional[0]);
  params.destination = PathFromUtf8(a.positional[1]);
  params.workspace = PathFromUtf8(a.Option("--workspace").value_or(Utf8FromPath(ExecutableDir() / "DATA")));

  ConsoleStatusLog log(stdout, stderr, ::isatty(STDERR_FILENO) == 1);
  g_stop.Reset();
  const platform::StopSignals signals([] { g_stop.Request(); });
  params.stop = &g_stop;
  try {
    CatalogJobOutcome outcome = RunCatalogJob(params, log);
    if (outcome == CatalogJobOutcome::kCompleted) return kExitOk;
    // The orderly stop's lines are status lines (stdout); the failure is told on stderr too.
    std::fflush(stdout);
    std::fprintf(stderr, "ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした (%s)。\n作業を終了します\n",
                 DisplayPath(params.source_root / "CDATA").c_str());
    return kExitFailed;
  } catch (const Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    return e.kind() == ErrorKind::kStopped ? signals.ExitStatus() : kExitFailed;
  }
}

}  // namespace dw::cli
