// Runs the built datawright-cli as a user would.
#include <gtest/gtest.h>
#include <filesystem>

#include "support/test_support.h"

namespace dw {
namespace {
namespace fs = std::filesystem;

using test::CliResult;
using test::RunCli;

TEST(CliConvert, SampleDataModeSucceeds) {
  test::TempDir dir;
  fs::create_directories(dir / "OUT");
  CliResult r = RunCli("convert '" + test::SampleCatalog().string() + "' '" + (dir / "OUT").string() +
                     "' --mode data --workspace '" + (dir / "WS").string() + "'",
                 dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("\"C77DEF.TXT\" 発見\n---------------------------\nDEFデータ作成開始\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("サークルデータ (3日目) 作成開始\n"), std::string::npos);
  EXPECT_NE(r.out.find("作業終了\n00:00:0"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_directory(dir / "OUT" / "ZAVO_DS" / "CDATA"));
}

TEST(CliConvert, MissingDefinitionFileExitsOne) {
  test::TempDir dir;
  fs::create_directories(dir / "cat" / "CDATA");
  fs::create_directories(dir / "OUT");
  CliResult r = RunCli("convert '" + (dir / "cat").string() + "' '" + (dir / "OUT").string() + "' --workspace '" +
                     (dir / "WS").string() + "'",
                 dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした。\n作業を終了します\n");
  EXPECT_EQ(r.err, "ファイル \\CDATA\\C??DEF.TXTが見つかりませんでした (" + (dir / "cat" / "CDATA").string() +
                       ")。\n作業を終了します\n");
  EXPECT_TRUE(fs::is_directory(dir / "WS" / "CDATA"));
  EXPECT_FALSE(fs::exists(dir / "OUT" / "ZAVO_DS"));
}

TEST(CliConvert, UsageErrorsExitTwo) {
  test::TempDir dir;
  EXPECT_EQ(RunCli("convert onlyone", dir).status, 2);
  EXPECT_EQ(RunCli("convert a b --mode fast", dir).status, 2);
  EXPECT_EQ(RunCli("convert a b --bogus 1", dir).status, 2);
  EXPECT_EQ(RunCli("frobnicate", dir).status, 2);
  CliResult help = RunCli("--help", dir);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("datawright-cli convert SOURCE DEST"), std::string::npos);
}

TEST(CliConvert, JobErrorGoesToStderrWithExitOne) {
  test::TempDir dir;
  test::WriteFile(dir / "cat" / "CDATA" / "C01DEF.TXT", "");
  fs::create_directories(dir / "OUT");
  CliResult r = RunCli("convert '" + (dir / "cat").string() + "' '" + (dir / "OUT").string() + "' --mode data --workspace '" +
                     (dir / "WS").string() + "'",
                 dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ファイルが見つかりません"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace dw
