#include "common/workspace_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "common/build_info.h"
#include "common/paths.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

bool Given(const std::optional<std::string>& value) { return value && !value->empty(); }

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> HomeFromPasswordDatabase() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return std::nullopt;
  }
  return std::string(found->pw_dir);
}

}  // namespace

WorkspaceChoice ChooseWorkspace(const WorkspaceInputs& in) {
  if (Given(in.command_line)) return {fs::path(*in.command_line), WorkspaceSource::kCommandLine};
  if (Given(in.environment)) return {fs::path(*in.environment), WorkspaceSource::kEnvironment};
  const WorkspaceChoice beside{in.executable_dir / "DATA", WorkspaceSource::kBesideProgram};
  if (!in.installed) return beside;
  fs::path data_home;
  if (Given(in.xdg_data_home) && fs::path(*in.xdg_data_home).is_absolute()) {
    data_home = *in.xdg_data_home;
  } else if (Given(in.home)) {
    data_home = fs::path(*in.home) / ".local" / "share";
  } else {
    return beside;
  }
  return {data_home / "datawright" / "DATA", WorkspaceSource::kUserDataFolder};
}

bool IsInstalledProgram(const fs::path& executable_dir) {
  std::error_code ec;
  return fs::is_regular_file(executable_dir / kInstalledMarkerFromBinDir, ec);
}

WorkspaceChoice FindWorkspace(const std::optional<std::string>& command_line) {
  WorkspaceInputs in;
  in.command_line = command_line;
  in.environment = Environment("DATAWRIGHT_WORKSPACE");
  in.executable_dir = ExecutableDir();
  in.installed = IsInstalledProgram(in.executable_dir);
  if (in.installed) {
    in.xdg_data_home = Environment("XDG_DATA_HOME");
    in.home = Environment("HOME");
    if (!Given(in.home)) in.home = HomeFromPasswordDatabase();
  }
  return ChooseWorkspace(in);
}

}  // namespace dw
