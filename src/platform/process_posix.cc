#include <pwd.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <mutex>
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

void PrepareHeapForImages() {
#if defined(__GLIBC__)
  static std::once_flag once;
  std::call_once(once, [] {
    constexpr size_t kMiB = size_t{1} << 20;
    constexpr size_t kHugePage = 2 * kMiB;
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(64 * kMiB));  // larger blocks are mapped on their own
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(1024 * kMiB));
    mallopt(M_TOP_PAD, static_cast<int>(256 * kMiB));
    // A block beyond what the heap holds makes it grow by the pad; freed, it leaves an untouched
    // reserve at the heap's top, from which the later blocks come.
    constexpr size_t kProbe = 32 * kMiB;
    char* probe = static_cast<char*>(std::malloc(kProbe));
    char* const top = static_cast<char*>(::sbrk(0));
    if (probe != nullptr && top != reinterpret_cast<char*>(-1) && probe < top && top - probe > static_cast<ptrdiff_t>(kProbe)) {
      const uintptr_t begin = (reinterpret_cast<uintptr_t>(probe) + kHugePage - 1) / kHugePage * kHugePage;
      const uintptr_t end = reinterpret_cast<uintptr_t>(top) / kHugePage * kHugePage;
      // Advice only: a kernel without transparent huge pages refuses it, and nothing changes.
      if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
    std::free(probe);
  });
#endif
}

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
