#include "platform/process.h"
#include "platform/win32_errors.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace dw::platform {
namespace fs = std::filesystem;

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

fs::path ExecutableFile() {
  std::wstring name(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
  if (n == 0 || n >= name.size()) return {};
  name.resize(n);
  return fs::path(name);
}

std::optional<std::string> Environment(const char* name) {
  const std::wstring wide_name = WideFromUtf8(name);
  const DWORD n = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring value(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(wide_name.c_str(), value.data(), n);
  value.resize(got);
  return Utf8FromWide(value);
}

std::optional<std::string> HomeFromAccount() { return std::nullopt; }

std::optional<std::string> LocalAppData() {
  std::optional<std::string> folder = Environment("LOCALAPPDATA");
  if (folder && folder->empty()) return std::nullopt;
  return folder;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return args;
}

// The system's heap needs no setting up for large buffers.
void PrepareHeapForImages() {}

void PrepareConsole() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

namespace {

void (*g_on_stop)() = nullptr;
volatile LONG g_stop_event = -1;

// Ctrl-C reads as SIGINT (2), Ctrl-Break and a closing console as SIGTERM (15).
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (InterlockedCompareExchange(&g_stop_event, static_cast<LONG>(event), -1) != -1) return FALSE;  // the second
  if (g_on_stop != nullptr) g_on_stop();
  if (event == CTRL_CLOSE_EVENT) {
    // The system ends the process when this returns: give the run a moment to stop cleanly.
    Sleep(4000);
  }
  return TRUE;
}

}  // namespace

StopSignals::StopSignals(void (*on_stop)()) {
  g_on_stop = on_stop;
  g_stop_event = -1;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopSignals::~StopSignals() { SetConsoleCtrlHandler(OnConsoleEvent, FALSE); }

int StopSignals::ExitStatus() const { return 128 + (g_stop_event == CTRL_C_EVENT || g_stop_event == -1 ? 2 : 15); }

}  // namespace dw::platform
