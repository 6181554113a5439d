// The parts of the test support that start processes and count threads, on POSIX systems.
#include <sys/wait.h>

#include <cstdlib>
#include <thread>

#include "support/test_support.h"

namespace dw::test {
namespace fs = std::filesystem;

std::string Quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

CliResult RunCli(const std::string& args, const TempDir& dir) {
  fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
  std::string cmd = Quote(DW_CLI_PATH) + " " + args + " >" + Quote(out.string()) + " 2>" + Quote(err.string()) +
                    " </dev/null";
  int raw = std::system(cmd.c_str());
  CliResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

int ThreadCount() {
  // A thread started first, so that threads a runtime starts along with the first one (a
  // sanitizer's) are in every count.
  static const bool warmed_up = [] {
    std::thread([] {}).join();
    return true;
  }();
  (void)warmed_up;
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/task")) ++n;
  return n;
}

}  // namespace dw::test
