// Whole-run benchmark: the conversion as the user waits for it. Generates a catalog of cut pages
// (1270 x 1800 grey), hall maps and the text tables of 3 days x 12,000 circles, then times, runs
// interleaved, each run on fresh folders of one disk:
//   (a) libpng decoding of the same PNG files alone, on one thread, in this process,
//   (b) `datawright-cli convert CATALOG DEST --mode all --threads 1 --workspace WS`,
//   (c) the same with the program's default threads,
//   (d) `--mode data` alone,
// (b) to (d) as whole processes, copy into DEST/ZAVO_DS included. Prints the medians and the
// ratios b/a and c/a, and checks that (b) and (c) wrote byte-identical sets. The read-back of (c)'s
// set (the comparison every conversion ends with) is timed once more on its own, as a share of (c).
//
//   whole_run_bench [--cli PATH] [--pages N] [--map-days D] [--runs R] [--keep DIR]
// --cli defaults to datawright-cli beside this program; --keep generates the catalog into DIR
// once and reuses it in later runs.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_options.h"
#include "catalog_generator.h"
#include "common/atomic_file.h"
#include "convert/card_readback.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultPages = 40;
constexpr int kDefaultMapDays = 3;
constexpr int kDefaultRuns = 5;
constexpr double kTargetSingle = 1.5;
constexpr double kTargetThreaded = 0.9;
constexpr double kTargetDataSeconds = 0.3;


double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Timing {
  double wall = 0;
  double cpu = 0;  // user + system, all threads
};

double CpuSeconds(const rusage& u) {
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the program with its standard output discarded; returns its times, or exits the benchmark
// when the program fails.
Timing TimeProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (spawned != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string line;
    for (const std::string& a : args) line += " " + a;
    std::fprintf(stderr, "failed:%s\n", line.c_str());
    std::exit(1);
  }
  const double wall = Seconds(start);
  return {wall, CpuSeconds(usage)};
}

// A conversion on fresh folders: the workspace and the destination are removed first and the
// disk is flushed, so that no run pays for the write-back of the one before.
Timing TimeConversion(const std::vector<std::string>& args, const fs::path& workspace, const fs::path& dest) {
  fs::remove_all(workspace);
  fs::remove_all(dest);
  fs::create_directories(dest);  // the destination must exist; only ZAVO_DS is created in it
  ::sync();
  return TimeProcess(args);
}

bool SameFiles(const fs::path& a, const fs::path& b) {
  for (const auto& e : fs::recursive_directory_iterator(a)) {
    const fs::path other = b / fs::relative(e.path(), a);
    if (e.is_directory() != fs::is_directory(other)) return false;
    if (e.is_regular_file() && (!fs::is_regular_file(other) || dw::ReadWholeFile(e.path()) != dw::ReadWholeFile(other)))
      return false;
  }
  return true;
}

bool SameTree(const fs::path& a, const fs::path& b) { return SameFiles(a, b) && SameFiles(b, a); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void PrintRow(const char* label, const std::vector<double>& v, double cpu) {
  std::printf("  %-42s median %6.3f s (min %.3f, max %.3f)  cpu %6.3f s\n", label, Median(v),
              *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()), cpu);
}

void PrintLoad(const char* when) {
  double load[3] = {};
  if (::getloadavg(load, 3) == 3) std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path self = fs::absolute(argv[0]);
  const std::string cli = dw::bench::Option(argc, argv, "--cli", (self.parent_path() / "datawright-cli").c_str());
  const int pages = std::clamp(dw::bench::IntOption(argc, argv, "--pages", kDefaultPages), 3, 1799);
  const int map_days = std::clamp(dw::bench::IntOption(argc, argv, "--map-days", kDefaultMapDays), 0, 3);
  const int runs = std::max(1, dw::bench::IntOption(argc, argv, "--runs", kDefaultRuns));
  const char* keep = dw::bench::Option(argc, argv, "--keep", nullptr);

  const fs::path base = fs::temp_directory_path() / ("dw-whole-run-bench-" + std::to_string(::getpid()));
  const fs::path catalog = keep ? fs::path(keep) : base / "catalog";
  const bool generate = !keep || !fs::exists(catalog / "CDATA");
  if (generate) {
    std::printf("generating %d pages of %d x %d grey, %d x 3 hall maps of %d x %d RGB and %d days x %d circles ...\n",
                pages, dw::bench::kPageWidth, dw::bench::kPageHeight, map_days, dw::bench::kMapWidth,
                dw::bench::kMapHeight, dw::bench::kDays, dw::bench::kCirclesPerDay);
    std::fflush(stdout);
  }
  const std::vector<fs::path> files = dw::bench::GenerateImages(catalog, pages, map_days, generate);
  if (generate) {
    // The pages fall into three days; each day's circles fill its pages.
    dw::bench::DataTableShape shape;
    const int pages_per_day = pages / dw::bench::kDays;
    for (int d = 0; d < dw::bench::kDays; ++d) shape.day_first_page[d] = 2 + d * pages_per_day;
    shape.circles_per_page = (dw::bench::kCirclesPerDay + pages_per_day - 1) / pages_per_day;
    dw::bench::GenerateDataTables(catalog, shape);
  }
  uintmax_t bytes = 0;
  for (const fs::path& f : files) bytes += fs::file_size(f);
  std::printf("%zu PNG files, %.1f MB; %d runs of each, interleaved\n", files.size(), bytes / 1e6, runs);
  PrintLoad("before");

  struct Conversion {
    fs::path workspace, dest;
    std::vector<std::string> args;
    std::vector<double> seconds, cpu;
  };
  auto conversion = [&](const char* name, std::vector<std::string> extra) {
    Conversion c{base / (std::string("ws-") + name), base / (std::string("dest-") + name), {}, {}, {}};
    c.args = {cli, "convert", catalog.string(), c.dest.string(), "--workspace", c.workspace.string()};
    c.args.insert(c.args.end(), extra.begin(), extra.end());
    return c;
  };
  Conversion single = conversion("1", {"--mode", "all", "--threads", "1"});
  Conversion threaded = conversion("n", {"--mode", "all"});
  Conversion data = conversion("data", {"--mode", "data"});
  std::vector<double> decode, decode_cpu, read_back;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    dw::bench::DecodeOnly(files);
    decode.push_back(Seconds(start));
    decode_cpu.push_back(static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
    for (Conversion* c : {&single, &threaded, &data}) {
      const Timing t = TimeConversion(c->args, c->workspace, c->dest);
      c->seconds.push_back(t.wall);
      c->cpu.push_back(t.cpu);
    }
    const auto read_back_start = std::chrono::steady_clock::now();
    dw::CompareSetWithWorkspace(threaded.workspace, threaded.dest / "ZAVO_DS", {});
    read_back.push_back(Seconds(read_back_start));
  }
  PrintLoad("after");

  const double a = Median(decode), b = Median(single.seconds), c = Median(threaded.seconds);
  std::printf("wall time, and processor time (all threads, median):\n");
  PrintRow("(a) libpng decode only, 1 thread", decode, Median(decode_cpu));
  PrintRow("(b) convert --mode all --threads 1", single.seconds, Median(single.cpu));
  PrintRow("(c) convert --mode all (default threads)", threaded.seconds, Median(threaded.cpu));
  PrintRow("(d) convert --mode data", data.seconds, Median(data.cpu));
  std::printf("  b/a = %.2f (target <= %.1f)   c/a = %.2f (target <= %.1f)   data %.3f s (target < %.1f s)\n", b / a,
              kTargetSingle, c / a, kTargetThreaded, Median(data.seconds), kTargetDataSeconds);
  std::printf("  read-back of (c)'s set: median %.3f s = %.1f %% of (c)\n", Median(read_back),
              100 * Median(read_back) / c);
  const bool same = SameTree(single.dest / "ZAVO_DS", threaded.dest / "ZAVO_DS");
  std::printf("  ZAVO_DS of (b) and (c) %s\n", same ? "are byte-identical" : "DIFFER");
  std::error_code ec;
  fs::remove_all(base, ec);
  return same ? 0 : 1;
}
