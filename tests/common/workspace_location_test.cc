// The one workspace rule of both programs.
#include "common/workspace_location.h"

#include <gtest/gtest.h>

#include "common/build_info.h"
#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

WorkspaceInputs Installed() {
  WorkspaceInputs in;
  in.executable_dir = "/usr/bin";
  in.installed = true;
  in.home = "/home/ann";
  return in;
}

TEST(WorkspaceLocation, CommandLineThenEnvironmentWin) {
  WorkspaceInputs in = Installed();
  in.xdg_data_home = "/xdg";
  in.environment = "env-ws";
  in.command_line = "cli-ws";
  EXPECT_EQ(ChooseWorkspace(in).path, "cli-ws");
  EXPECT_EQ(ChooseWorkspace(in).source, WorkspaceSource::kCommandLine);
  in.command_line = "";  // an empty value counts as unset
  EXPECT_EQ(ChooseWorkspace(in).path, "env-ws");
  EXPECT_EQ(ChooseWorkspace(in).source, WorkspaceSource::kEnvironment);
  in.installed = false;
  EXPECT_EQ(ChooseWorkspace(in).path, "env-ws");
}

TEST(WorkspaceLocation, BuildTreeAndPortableFolderUseDataBesideTheProgram) {
  WorkspaceInputs in = Installed();
  in.installed = false;
  in.executable_dir = "/opt/dw/bin";
  in.xdg_data_home = "/xdg";
  in.environment = "";
  const WorkspaceChoice c = ChooseWorkspace(in);
  EXPECT_EQ(c.path, fs::path("/opt/dw/bin/DATA"));
  EXPECT_EQ(c.source, WorkspaceSource::kBesideProgram);
}

TEST(WorkspaceLocation, InstalledProgramUsesTheUserDataFolder) {
  if (!fs::path("/data").is_absolute()) GTEST_SKIP() << "the XDG rule is Linux's; Windows paths need a drive";
  WorkspaceInputs in = Installed();
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/home/ann/.local/share/datawright/DATA"));
  EXPECT_EQ(ChooseWorkspace(in).source, WorkspaceSource::kUserDataFolder);
  in.xdg_data_home = "/data/ann";
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/data/ann/datawright/DATA"));
  in.xdg_data_home = "relative/share";  // not absolute: ignored
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/home/ann/.local/share/datawright/DATA"));
  in.xdg_data_home = "";
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/home/ann/.local/share/datawright/DATA"));
  in.home.reset();  // no home folder at all: the folder beside the program is all that is left
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/usr/bin/DATA"));
  in.xdg_data_home = "/data/ann";
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/data/ann/datawright/DATA"));
}

TEST(WorkspaceLocation, WindowsProgramUsesLocalAppDataUnlessPortable) {
  WorkspaceInputs in = Installed();
  in.local_app_data = "/la";
  EXPECT_EQ(ChooseWorkspace(in).path, fs::path("/la/Datawright/DATA"));
  EXPECT_EQ(ChooseWorkspace(in).source, WorkspaceSource::kUserDataFolder);
  in.installed = false;  // portable.txt beside the program
  EXPECT_EQ(ChooseWorkspace(in).source, WorkspaceSource::kBesideProgram);
}

TEST(WorkspaceLocation, InstalledMeansTheMarkerInstallPlaces) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  EXPECT_FALSE(IsInstalledProgram(dir / "bin"));
  fs::create_directories((dir / "bin" / kInstalledMarkerFromBinDir));  // a folder is no marker
  EXPECT_FALSE(IsInstalledProgram(dir / "bin"));
  fs::remove(dir / "bin" / kInstalledMarkerFromBinDir);
  test::WriteFile(dir / "bin" / kInstalledMarkerFromBinDir, "installed\n");
  EXPECT_TRUE(IsInstalledProgram(dir / "bin"));
}

}  // namespace
}  // namespace dw
