// datawright-cli's version and the workspace it names when the command line gives none.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "common/build_info.h"
#include "support/checklist_fixtures.h"
#include "support/test_support.h"

namespace dw {
namespace {

// Sets an environment variable for the programs the test starts, and removes it again.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(name) { setenv(name, value.c_str(), 1); }
  ~ScopedEnv() { unsetenv(name); }
  const char* name;
};

TEST(CliWorkspace, VersionIsTheBuildsVersion) {
  test::TempDir dir;
  const test::CliResult r = test::RunCli("--version", dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string(kVersionLine) + "\n");
  EXPECT_NE(r.out.find(kBuildLabel), std::string::npos);
}

TEST(CliWorkspace, EnvironmentNamesTheWorkspaceAndTheCommandLineBeatsIt) {
  test::TempDir dir;
  const std::string from_env = (dir / "env ws").string();
  const ScopedEnv env("DATAWRIGHT_WORKSPACE", from_env);
  // The import reads the day tables from the workspace: present in the one the environment
  // names, missing from the one the command line names.
  test::WriteWorkspace(from_env, {1}, {{0, 10}});
  test::WriteFile(dir / "in.csv", test::kCsvHeader);
  const std::string csv = test::Quote((dir / "in.csv").string()), out = test::Quote((dir / "OUT").string());
  test::CliResult r = test::RunCli("import " + csv + " " + out, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "作業フォルダ: " + from_env + "\n");

  const std::string from_cli = (dir / "cli ws").string();
  r = test::RunCli("import " + csv + " " + out + " --workspace=" + test::Quote(from_cli), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("作業フォルダ"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(from_cli + "/CDATA/L_Date.dat"), std::string::npos) << r.err;

  EXPECT_EQ(test::RunCli("convert a b --workspace ''", dir).status, 2);
}

}  // namespace
}  // namespace dw
