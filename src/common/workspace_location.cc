#include "common/workspace_location.h"

#include <system_error>

#include "common/build_info.h"
#include "common/paths.h"
#include "platform/process.h"
#include "platform/utf8_path.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

bool Given(const std::optional<std::string>& value) { return value && !value->empty(); }

}  // namespace

WorkspaceChoice ChooseWorkspace(const WorkspaceInputs& in) {
  if (Given(in.command_line)) return {PathFromUtf8(*in.command_line), WorkspaceSource::kCommandLine};
  if (Given(in.environment)) return {PathFromUtf8(*in.environment), WorkspaceSource::kEnvironment};
  const WorkspaceChoice beside{in.executable_dir / "DATA", WorkspaceSource::kBesideProgram};
  if (!in.installed) return beside;
  if (Given(in.local_app_data)) {
    return {PathFromUtf8(*in.local_app_data) / "Datawright" / "DATA", WorkspaceSource::kUserDataFolder};
  }
  fs::path data_home;
  if (Given(in.xdg_data_home) && PathFromUtf8(*in.xdg_data_home).is_absolute()) {
    data_home = PathFromUtf8(*in.xdg_data_home);
  } else if (Given(in.home)) {
    data_home = PathFromUtf8(*in.home) / ".local" / "share";
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
  in.environment = platform::Environment("DATAWRIGHT_WORKSPACE");
  in.executable_dir = ExecutableDir();
  in.local_app_data = platform::LocalAppData();
  if (in.local_app_data) {
    std::error_code ec;
    in.installed = !fs::exists(in.executable_dir / kPortableMarker, ec);
  } else {
    in.installed = IsInstalledProgram(in.executable_dir);
  }
  if (in.installed) {
    in.xdg_data_home = platform::Environment("XDG_DATA_HOME");
    in.home = platform::Environment("HOME");
    if (!Given(in.home)) in.home = platform::HomeFromAccount();
  }
  return ChooseWorkspace(in);
}

}  // namespace dw
