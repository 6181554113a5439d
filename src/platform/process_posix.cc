#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/process.h"

namespace dw::platform {
namespace fs = std::filesystem;

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  return local;
}

fs::path ExecutableFile() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe;
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> HomeFromAccount() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return std::nullopt;
  }
  return std::string(found->pw_dir);
}

std::optional<std::string> LocalAppData() { return std::nullopt; }

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void PrepareConsole() {}

namespace {

void (*g_on_stop)() = nullptr;
volatile sig_atomic_t g_stop_signal = 0;
struct sigaction g_old_int {}, g_old_term {};

extern "C" void OnStopSignal(int signal_number) {
  g_stop_signal = signal_number;
  if (g_on_stop != nullptr) g_on_stop();
}

}  // namespace

StopSignals::StopSignals(void (*on_stop)()) {
  g_on_stop = on_stop;
  g_stop_signal = 0;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &g_old_int);
  ::sigaction(SIGTERM, &action, &g_old_term);
}

StopSignals::~StopSignals() {
  ::sigaction(SIGINT, &g_old_int, nullptr);
  ::sigaction(SIGTERM, &g_old_term, nullptr);
}

int StopSignals::ExitStatus() const {
  return 128 + (g_stop_signal != 0 ? static_cast<int>(g_stop_signal) : SIGINT);
}

}  // namespace dw::platform
