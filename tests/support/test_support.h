// Helpers shared by the tests: temporary folders, file writing, a recording status log.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/status_log.h"
#include "platform/utf8_path.h"

namespace dw::test {

// A fresh folder below the system's temporary folder, removed at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / PathFromUtf8(name); }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, creating its parent folders.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);
// UTF-8 -> Shift-JIS, for writing catalog lines in tests.
std::string Sjis(std::string_view utf8);
// Bytes from a list of values 0..255.
std::string Bytes(std::initializer_list<int> values);
// "0A 08 0D" style dump for readable failure messages.
std::string Hex(std::string_view bytes);

// Records every call, in order, as text ("line: ...", "label: ...", "max: 12800", ...).
class RecordingStatusLog : public StatusLog {
 public:
  void ClearLines() override;
  void AddLine(const std::string& utf8) override;
  void SetLabel(const std::string& utf8) override;
  void SetProgressMin(int value) override;
  void SetProgressMax(int value) override;
  void SetProgressPosition(int value) override;
  void EnableBackButton(bool enabled) override;
  void Show() override;
  void ProcessEvents() override;

  std::vector<std::string> lines;  // the log lines as the page would show them
  std::vector<std::string> calls;  // every call
  std::string label;
  int min = 0, max = 10, position = 0;
  bool back_enabled = false;
  int process_events = 0;
};

// Runs the built datawright-cli with `args` (already shell-quoted), capturing its output in
// files of `dir`.
struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};
CliResult RunCli(const std::string& args, const TempDir& dir);
// Single-quotes a path or word for the shell.
std::string Quote(const std::string& word);
// The words quoted and joined by blanks: a command line for RunCli.
std::string Words(std::initializer_list<std::string> words);

// Every regular file below `root` (none when it does not exist), by relative path, with its bytes.
using Files = std::map<std::string, std::string>;
Files Snapshot(const std::filesystem::path& root);
// The same with every folder too, as "<dir>".
Files SnapshotWithFolders(const std::filesystem::path& root);
// The names that differ between two snapshots, "+name" for those only in `b` (for short failure
// messages).
std::string Differences(const Files& a, const Files& b);

// Threads of this process now (Linux), for tests that check that a job joined the threads it
// started.
int ThreadCount();

// The sample catalog bundled with the project.
std::filesystem::path SampleCatalog();
// The shared PNG conformance images; empty when absent (tests then skip).
std::filesystem::path PngSuiteDir();

}  // namespace dw::test
