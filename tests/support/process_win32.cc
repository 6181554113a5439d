// The parts of the test support that start processes and count threads, on Windows.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <thread>

#include "support/test_support.h"

namespace dw::test {
namespace fs = std::filesystem;

std::string Quote(const std::string& word) { return "\"" + word + "\""; }

CliResult RunCli(const std::string& args, const TempDir& dir) {
  const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
  const std::string cli = fs::absolute(fs::path(DW_CLI_PATH)).make_preferred().string();
  // cmd /c drops the outer pair of quotes around the whole line.
  const std::string cmd = "\"" + Quote(cli) + " " + args + " >" + Quote(out.string()) + " 2>" + Quote(err.string()) +
                          " <NUL\"";
  const int n = MultiByteToWideChar(CP_UTF8, 0, cmd.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, cmd.c_str(), -1, wide.data(), n);
  CliResult r;
  r.status = _wsystem(wide.c_str());
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

int ThreadCount() {
  static const bool warmed_up = [] {
    std::thread([] {}).join();
    return true;
  }();
  (void)warmed_up;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  const DWORD self = GetCurrentProcessId();
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int n = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == self) ++n;
  }
  CloseHandle(snapshot);
  return n;
}

}  // namespace dw::test
