// Where the programs keep their workspace, the folder the catalog conversion assembles the data
// set in and the check-list import reads the day tables from.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dw {

enum class WorkspaceSource {
  kCommandLine,     // --workspace
  kEnvironment,     // DATAWRIGHT_WORKSPACE
  kBesideProgram,   // DATA beside the executable: build tree, portable folder
  kUserDataFolder,  // $XDG_DATA_HOME/datawright/DATA, %LOCALAPPDATA%\Datawright\DATA: installed
};

struct WorkspaceChoice {
  std::filesystem::path path;
  WorkspaceSource source;
};

// What the rule looks at; unset and empty values count alike.
struct WorkspaceInputs {
  std::optional<std::string> command_line;   // --workspace
  std::optional<std::string> environment;    // DATAWRIGHT_WORKSPACE
  std::optional<std::string> xdg_data_home;  // XDG_DATA_HOME
  std::optional<std::string> home;           // HOME, else the password database
  std::optional<std::string> local_app_data;  // LOCALAPPDATA, on Windows only
  std::filesystem::path executable_dir;
  bool installed = false;  // install() placed its marker beside the program's prefix (Windows:
                           // no portable marker beside the program)
};

// On Windows a program unpacked anywhere counts as installed unless this file lies beside it.
inline constexpr char kPortableMarker[] = "portable.txt";

// --workspace wins, then DATAWRIGHT_WORKSPACE; a build tree or portable folder uses DATA beside
// the executable; an installed program uses $XDG_DATA_HOME/datawright/DATA, where a relative
// XDG_DATA_HOME is ignored (as the XDG base directory rules ask) in favour of ~/.local/share. An
// installed program without any home folder falls back to DATA beside the executable. On
// Windows an installed program uses %LOCALAPPDATA%\Datawright\DATA.
WorkspaceChoice ChooseWorkspace(const WorkspaceInputs& inputs);

// True when the install marker exists relative to `executable_dir`.
bool IsInstalledProgram(const std::filesystem::path& executable_dir);

// ChooseWorkspace for the running program: its environment, its folder and the marker.
WorkspaceChoice FindWorkspace(const std::optional<std::string>& command_line);

}  // namespace dw
