#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "common/build_info.h"
#include "common/messages.h"
#include "common/workspace_location.h"
#include "platform/utf8_path.h"

namespace dw::cli {

namespace {

constexpr const char* kWorkspaceHelp =
    "workspace (where convert assembles the data set and import reads the day tables):\n"
    "  --workspace DIR, else $DATAWRIGHT_WORKSPACE, else for the installed program\n"
    "  $XDG_DATA_HOME/datawright/DATA (~/.local/share/datawright/DATA), else DATA beside this\n"
    "  program. When it does not come from --workspace it is named on stderr.\n";

// The whole usage text after CLI11's own lines, as the top-level help's footer.
std::string UsageFooter() {
  return std::string("\n") + UsageText() + "version: datawright-cli --version\n" + kWorkspaceHelp;
}

// The workspace of the one rule convert and import share when the command line names none, told
// on stderr. An empty --workspace is a usage error.
std::optional<std::string> Workspace(const CLI::Option* given, const std::string& value) {
  if (given->count() > 0) {
    if (value.empty()) return std::nullopt;
    return value;
  }
  const WorkspaceChoice workspace = FindWorkspace(std::nullopt);
  std::fprintf(stderr, "作業フォルダ: %s\n", DisplayPath(workspace.path).c_str());
  return Utf8FromPath(workspace.path);
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "datawright-cli: %s\n", message.c_str());
  std::fprintf(stderr, "Run with --help for more information.\n");
  return kExitUsage;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CLI::App app("Datawright: the catalog as the handheld's data set, and its check lists.", "datawright-cli");
  app.footer(UsageFooter());
  app.set_version_flag("--version", kVersionLine);
  app.require_subcommand(1);
  // Arguments starting with "/" are paths, not options, on every system.
  app.allow_windows_style_options(false);

  ConvertOptions convert;
  bool no_verify = false;
  std::string import_csv, import_out, import_workspace;
  std::string export_set, export_out;
  int colour = 0;
  std::string check_set, check_against, show_file, show_png, show_palette;

  CLI::App* c = app.add_subcommand("convert", "Converts a catalog folder into DEST/ZAVO_DS/");
  c->add_option("SOURCE", convert.source, "catalog folder (holding CDATA, MDATA, PDATA)")->required();
  c->add_option("DEST", convert.destination, "existing folder that receives ZAVO_DS")->required();
  c->add_option("--mode", convert.mode, "all, data or images")->check(CLI::IsMember({"all", "data", "images"}));
  const CLI::Option* convert_ws = c->add_option("--workspace", convert.workspace, "where the data set is assembled");
  c->add_option("--threads", convert.threads, "image workers, 0 (default) one per core")->check(CLI::Range(0, 64));
  c->add_flag("--no-verify", no_verify, "do not read the card back after the copy");

  CLI::App* i = app.add_subcommand("import", "Turns a check-list CSV (Ver.1) into check and memo files");
  i->add_option("CSV", import_csv, "check-list CSV")->required();
  i->add_option("OUTDIR", import_out, "folder that receives CheckList/")->required();
  const CLI::Option* import_ws = i->add_option("--workspace", import_workspace, "holds the day tables");

  CLI::App* e = app.add_subcommand("export", "Writes OUTDIR/ZAVO_DS_Check.csv from the handheld's files");
  e->add_option("ZAVO_DS_DIR", export_set, "the handheld's data set")->required();
  e->add_option("OUTDIR", export_out, "folder that receives the CSV")->required();
  e->add_option("--colour", colour, "0-9: replaces colours outside 1-9")->check(CLI::Range(0, 9));

  CLI::App* k = app.add_subcommand("check", "Checks a data set as the handheld reads it");
  k->add_option("ZAVO_DS_DIR", check_set, "the data set")->required();
  k->add_option("--against", check_against, "workspace to compare every file with");

  CLI::App* s = app.add_subcommand("show", "Writes a .gdc or a mini map as a PNG picture");
  s->add_option("FILE", show_file, ".gdc page or map, or MAP<d><g>mini.dat")->required();
  s->add_option("OUT", show_png, "the PNG file to write")->required();
  s->add_option("--palette", show_palette, "Palette.pal (default: SYSTEM/Palette.pal of the set)");

  if (argc >= 2 && std::string(argv[1]) == "help") argv[1] = const_cast<char*>("--help");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    std::printf("%s\n", kVersionLine);
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    // A sub-command's own --help names the sub-command that asked for it.
    return UsageError(error.what());
  }

  try {
    if (c->parsed()) {
      const auto workspace = Workspace(convert_ws, convert.workspace);
      if (!workspace) return UsageError("--workspace needs a folder");
      convert.workspace = *workspace;
      convert.read_back = !no_verify;
      return RunConvert(convert);
    }
    if (i->parsed()) {
      const auto workspace = Workspace(import_ws, import_workspace);
      if (!workspace) return UsageError("--workspace needs a folder");
      return RunImport(import_csv, import_out, *workspace);
    }
    if (e->parsed()) return RunExport(export_set, export_out, colour);
    if (k->parsed()) return RunCheck(PathFromUtf8(check_set), PathFromUtf8(check_against));
    if (s->parsed()) return RunShow(PathFromUtf8(show_file), PathFromUtf8(show_png), PathFromUtf8(show_palette));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return kExitFailed;
  }
  return UsageError("unknown command");
}

}  // namespace dw::cli
