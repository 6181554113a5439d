// datawright-cli's version and the workspace it names when the command line gives none.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "common/build_info.h"
#include "support/test_support.h"

namespace dw {
namespace {

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
  ASSERT_EQ(setenv("DATAWRIGHT_WORKSPACE", from_env.c_str(), 1), 0);
  // The import reads the day tables from the workspace; none is there, so it names the path.
  const std::string csv = test::Quote((dir / "in.csv").string()), out = test::Quote((dir / "OUT").string());
  test::CliResult r = test::RunCli("import " + csv + " " + out, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("作業フォルダ: " + from_env + "\n", 0), 0u) << r.err;

  r = test::RunCli("import " + csv + " " + out + " --workspace=" + test::Quote((dir / "cli").string()), dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("作業フォルダ"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("env ws"), std::string::npos) << r.err;

  EXPECT_EQ(test::RunCli("convert a b --workspace ''", dir).status, 2);
  unsetenv("DATAWRIGHT_WORKSPACE");
}

}  // namespace
}  // namespace dw
