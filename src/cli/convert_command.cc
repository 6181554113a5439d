// datawright-cli convert SOURCE DEST [--mode all|data|images] [--workspace DIR] [--threads N] [--no-verify]
#include <unistd.h>

#include <cstdio>

#include "convert/catalog_job.h"
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

const char* UsageText() {
  return
      "usage:\n"
      "  datawright-cli convert SOURCE DEST [--mode all|data|images] [--workspace DIR] [--threads N]\n"
      "                        [--no-verify]\n"
      "      Converts the catalog folder SOURCE (holding CDATA, MDATA, PDATA) into DEST/ZAVO_DS/;\n"
      "      DEST must be an existing folder apart from the workspace. The data set is assembled in\n"
      "      the workspace (--workspace, else $DATAWRIGHT_WORKSPACE, else the per-user data folder\n"
      "      of an installed program or DATA beside the program of a build tree). Every file sent\n"
      "      is then read back from the card and compared, unless --no-verify.\n"
      "  datawright-cli import CSV OUTDIR [--workspace DIR]\n"
      "      Turns a check-list CSV (Ver.1) into OUTDIR/CheckList/Check<d>.dat and C_Memo<d>.dat.\n"
      "  datawright-cli export ZAVO_DS_DIR OUTDIR [--colour N]\n"
      "      Writes OUTDIR/ZAVO_DS_Check.csv from the handheld's check and purchase files;\n"
      "      N (0-9, default 0) replaces colours outside 1-9.\n"
      "  datawright-cli check ZAVO_DS_DIR [--against WORKSPACE]\n"
      "      Checks a data set as the handheld reads it; one line per fault (file and offset).\n"
      "      --against also compares every file with the workspace it was copied from.\n"
      "      Exit status 0 when the set is sound, 1 when not.\n"
      "  datawright-cli show FILE OUT.png [--palette Palette.pal]\n"
      "      Writes a page or large map (.gdc, with the set's SYSTEM/Palette.pal) or a mini map\n"
      "      (MAP<d><g>mini.dat) as a PNG picture.\n"
      "exit status: 0 success, 1 the job failed, 2 usage error, 130/143 stopped by SIGINT/SIGTERM\n";
}

int RunConvert(const ConvertOptions& options) {
  CatalogJobParams params;
  params.mode = static_cast<int>(options.mode == "data"     ? ConversionMode::kDataOnly
                                 : options.mode == "images" ? ConversionMode::kImagesOnly
                                                            : ConversionMode::kDataAndImages);
  params.image_threads = options.threads;
  params.read_back = options.read_back;
  params.source_root = PathFromUtf8(options.source);
  params.destination = PathFromUtf8(options.destination);
  params.workspace = PathFromUtf8(options.workspace);

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
