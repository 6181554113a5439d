// The running program: its file, its arguments, its console and the stop request of the user.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dw::platform {

// `when` in the local time zone (thread-safe).
std::tm LocalTime(std::time_t when);

// The running executable's file; empty when the system cannot tell.
std::filesystem::path ExecutableFile();

// An environment variable as UTF-8; nullopt when it is not set.
std::optional<std::string> Environment(const char* name);
// The user's home folder from the account database (POSIX); nullopt where there is none.
std::optional<std::string> HomeFromAccount();
// The per-user application data folder (Windows: %LOCALAPPDATA%); nullopt on POSIX systems,
// which keep their own rule for user data.
std::optional<std::string> LocalAppData();

// The command line as UTF-8 (Windows hands `argv` over in the ANSI code page).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Sets up the program's memory for the image job's large buffers, once: on glibc one heap for
// every thread that keeps what is freed for the next file, and asks for huge pages on its
// untouched reserve, so that a buffer is neither mapped afresh per file nor faulted in 4 KiB at a
// time. Elsewhere it does nothing.
void PrepareHeapForImages();

// Standard output and error pass bytes through unchanged (no "\r\n" for "\n"), and a console
// shows them as UTF-8.
void PrepareConsole();

// While it exists, Ctrl-C (and SIGTERM, or a closing console window) calls `on_stop` once;
// a second one ends the program at once. `on_stop` must be safe in a signal handler.
class StopSignals {
 public:
  explicit StopSignals(void (*on_stop)());
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  // The exit status of a run the user stopped: 128 + the signal, as a shell reports it.
  int ExitStatus() const;
};

}  // namespace dw::platform
