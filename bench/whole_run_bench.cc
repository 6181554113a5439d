// Whole-run benchmark: the conversion as the user waits for it. Generates a catalog of cut pages
// (1270 x 1800, in one PNG form or each in turn), hall maps and the text tables of 3 days x
// 12,000 circles, then times, runs interleaved, each run on fresh folders of one disk:
//   (a) libpng decoding of the same PNG files alone, on one thread, in this process,
//   (b) `datawright-cli convert CATALOG DEST --mode all --threads 1 --workspace WS`,
//   (c) the same with the program's default threads,
//   (d) `--mode data` alone (one form only),
// (b) to (d) as whole processes, copy into DEST/ZAVO_DS included. Prints the medians, the ratios
// b/a and c/a, each process's peak memory and the share of its wall time spent copying to the
// card (from the status line that starts the copy). Checks that (b), (c) and a --threads 2 run
// wrote byte-identical sets, and that the loader's quick path gives every file the canvas of its
// libpng path. The read-back of (c)'s set (the comparison every conversion ends with) is timed
// once more on its own, as a share of (c).
//
//   whole_run_bench [--cli PATH] [--form NAME|all] [--pages N] [--map-days D] [--runs R]
//                   [--keep DIR]
// --cli defaults to datawright-cli beside this program; --form defaults to grey8 (names in
// catalog_generator.h); --keep generates each form's catalog into DIR/<form> once and reuses it
// in later runs. The default threads are the machine's cores; on a machine of other than 2 cores
// a run with --threads 2 is added.
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
#include <thread>
#include <vector>

#include "bench_options.h"
#include "catalog_generator.h"
#include "common/atomic_file.h"
#include "convert/card_readback.h"
#include "images/png_loader.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultPages = 40;
constexpr int kDefaultMapDays = 3;
constexpr int kDefaultRuns = 5;
constexpr int kMaxPages = 1799;  // 0002.png .. 1800.png, the catalog's maximum
constexpr double kTargetSingle = 1.25;
constexpr double kTargetThreaded = 0.75;
constexpr double kTargetDataSeconds = 0.3;
// The status line the conversion prints as it starts copying the workspace to the card.
constexpr const char* kCopyStartLine = "ファイルコピー作業開始";

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double CpuSeconds(const rusage& u) {
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// ---- One process ---------------------------------------------------------------------------

struct Timing {
  double wall = 0;
  double cpu = 0;         // user + system, all threads
  double peak_mb = 0;     // largest resident set
  double copy_share = 0;  // of the wall time, from the copy's first status line to the end
};

// Reads the program's standard output to its end; returns the seconds from `start` at which the
// copy's status line arrived (the end when it never does).
double ReadUntilEnd(int fd, std::chrono::steady_clock::time_point start) {
  double copy_start = -1;
  std::string pending;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    pending.append(buffer, static_cast<size_t>(n));
    if (copy_start < 0 && pending.find(kCopyStartLine) != std::string::npos) copy_start = Seconds(start);
    if (pending.size() > 4096) pending.erase(0, pending.size() - 64);  // keep a possibly cut line
  }
  return copy_start < 0 ? Seconds(start) : copy_start;
}

// Runs the program with its standard output read by this process; returns its figures, or exits
// the benchmark when the program fails.
Timing TimeProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int out[2];
  if (::pipe(out) != 0) std::exit(1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  const double copy_start = spawned == 0 ? ReadUntilEnd(out[0], start) : 0;
  ::close(out[0]);
  int status = 0;
  rusage usage{};
  if (spawned != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::string line;
    for (const std::string& a : args) line += " " + a;
    std::fprintf(stderr, "failed:%s\n", line.c_str());
    std::exit(1);
  }
  const double wall = Seconds(start);
  return {wall, CpuSeconds(usage), static_cast<double>(usage.ru_maxrss) / 1024, (wall - copy_start) / wall};
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

// ---- Checks --------------------------------------------------------------------------------

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

// Whether the loader's quick path gives every file the canvas of its libpng path; counts the
// files the quick decoder takes.
bool QuickPathAgrees(const std::vector<fs::path>& files, size_t& taken) {
  dw::PngScratch scratch;
  dw::Bitmap quick, reference;
  taken = 0;
  for (const fs::path& f : files) {
    const std::string bytes = dw::ReadWholeFile(f);
    taken += dw::TryDecodePngFast(bytes, quick, scratch.fast) ? 1 : 0;
    dw::DecodePngInto(bytes, f, quick, scratch);
    dw::DecodePngWithLibpngInto(bytes, f, reference, scratch);
    if (quick.width != reference.width || quick.height != reference.height || quick.channels != reference.channels ||
        quick.pixels != reference.pixels) {
      std::fprintf(stderr, "quick and libpng canvases differ: %s\n", f.c_str());
      return false;
    }
  }
  return true;
}

// ---- Figures -------------------------------------------------------------------------------

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Largest(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

void PrintLoad(const char* when) {
  double load[3] = {};
  if (::getloadavg(load, 3) == 3) std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

struct Conversion {
  std::string label;
  fs::path workspace, dest;
  std::vector<std::string> args;
  std::vector<double> seconds, cpu, peak_mb, copy_share;

  void Time() {
    const Timing t = TimeConversion(args, workspace, dest);
    seconds.push_back(t.wall);
    cpu.push_back(t.cpu);
    peak_mb.push_back(t.peak_mb);
    copy_share.push_back(t.copy_share);
  }
  void Print() const {
    std::printf("  %-44s median %7.3f s (min %.3f, max %.3f)  cpu %7.3f s  peak %6.1f MB  copy %4.1f %%\n",
                label.c_str(), Median(seconds), *std::min_element(seconds.begin(), seconds.end()), Largest(seconds),
                Median(cpu), Largest(peak_mb), 100 * Median(copy_share));
  }
};

// ---- One form ------------------------------------------------------------------------------

struct Options {
  std::string cli;
  int pages, map_days, runs;
  const char* keep;
  bool data;  // time --mode data too
};

struct FormResult {
  const char* form;
  double b_over_a, c_over_a, cpu_b_over_a, peak_b, peak_c;
  bool identical, agrees;
  size_t taken, files;
};

// Generates (or finds) the form's catalog; the hall maps and the text tables are copied from
// `shared` once that holds them, as they do not depend on the form.
std::vector<fs::path> PrepareCatalog(const fs::path& catalog, const fs::path& shared, const dw::bench::PageForm& form,
                                     const Options& o) {
  const bool generate = !fs::exists(catalog / "CDATA");
  const bool reuse = generate && !shared.empty() && fs::exists(shared / "CDATA");
  if (generate) {
    std::printf("generating %d pages of %d x %d (%s)%s ...\n", o.pages, dw::bench::kPageWidth,
                dw::bench::kPageHeight, form.name,
                reuse ? "" : ", 3 hall map pairs a day of 2000 x 1400 RGB and 3 days x 12,000 circles");
    std::fflush(stdout);
  }
  fs::create_directories(catalog);
  if (reuse) {
    fs::copy(shared / "MDATA", catalog / "MDATA", fs::copy_options::recursive);
    fs::copy(shared / "CDATA", catalog / "CDATA", fs::copy_options::recursive);
  }
  std::vector<fs::path> files = dw::bench::GenerateImages(catalog, o.pages, o.map_days, false, form);
  if (generate) {
    dw::bench::GenerateImages(catalog, o.pages, 0, true, form);
    if (!reuse) {
      dw::bench::GenerateImages(catalog, 0, o.map_days, true, form);
      // The pages fall into three days; each day's circles fill its pages.
      dw::bench::DataTableShape shape;
      const int pages_per_day = o.pages / dw::bench::kDays;
      for (int d = 0; d < dw::bench::kDays; ++d) shape.day_first_page[d] = 2 + d * pages_per_day;
      shape.circles_per_page = (dw::bench::kCirclesPerDay + pages_per_day - 1) / pages_per_day;
      dw::bench::GenerateDataTables(catalog, shape);
    }
  }
  return files;
}

FormResult RunForm(const dw::bench::PageForm& form, const fs::path& catalog, const fs::path& shared,
                   const fs::path& base, const Options& o) {
  const std::vector<fs::path> files = PrepareCatalog(catalog, shared, form, o);
  uintmax_t bytes = 0;
  for (const fs::path& f : files) bytes += fs::file_size(f);
  FormResult result{form.name, 0, 0, 0, 0, 0, false, false, 0, files.size()};
  result.agrees = QuickPathAgrees(files, result.taken);
  std::printf("== %s: %zu PNG files, %.1f MB, %zu taken by the quick decoder; %d runs of each, interleaved\n",
              form.name, files.size(), bytes / 1e6, result.taken, o.runs);
  PrintLoad("before");

  auto conversion = [&](const std::string& label, const std::string& name, std::vector<std::string> extra) {
    Conversion c{label, base / ("ws-" + name), base / ("dest-" + name), {}, {}, {}, {}, {}};
    c.args = {o.cli, "convert", catalog.string(), c.dest.string(), "--workspace", c.workspace.string()};
    c.args.insert(c.args.end(), extra.begin(), extra.end());
    return c;
  };
  // The default is one thread per core: (b) and (c) give the scaling at 1 and the machine's
  // cores, a third run the scaling at 2 where that is another number.
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Conversion> runs = {
      conversion("(b) convert --mode all --threads 1", "1", {"--mode", "all", "--threads", "1"}),
      conversion("(c) convert --mode all (default: " + std::to_string(cores) + " threads)", "n", {"--mode", "all"})};
  if (cores != 2) runs.push_back(conversion("    convert --mode all --threads 2", "2", {"--mode", "all", "--threads", "2"}));
  if (o.data) runs.push_back(conversion("(d) convert --mode data", "data", {"--mode", "data"}));

  std::vector<double> decode, decode_cpu, read_back;
  for (int r = 0; r < o.runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    dw::bench::DecodeOnly(files);
    decode.push_back(Seconds(start));
    decode_cpu.push_back(static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
    for (Conversion& c : runs) c.Time();
    const auto read_back_start = std::chrono::steady_clock::now();
    dw::CompareSetWithWorkspace(runs[1].workspace, runs[1].dest / "ZAVO_DS", {});
    read_back.push_back(Seconds(read_back_start));
  }
  PrintLoad("after");

  const double a = Median(decode);
  std::printf("wall time, processor time (all threads), medians; peak memory (largest); copy to the card's share:\n");
  std::printf("  %-44s median %7.3f s (min %.3f, max %.3f)  cpu %7.3f s\n", "(a) libpng decode only, 1 thread", a,
              *std::min_element(decode.begin(), decode.end()), Largest(decode), Median(decode_cpu));
  result.identical = true;
  for (const Conversion& c : runs) {
    c.Print();
    if (c.args.back() != "data") result.identical = result.identical && SameTree(runs[0].dest / "ZAVO_DS", c.dest / "ZAVO_DS");
  }
  result.b_over_a = Median(runs[0].seconds) / a;
  result.c_over_a = Median(runs[1].seconds) / a;
  result.peak_b = Largest(runs[0].peak_mb);
  result.peak_c = Largest(runs[1].peak_mb);
  // Processor time, which others' load on the machine disturbs less than wall time.
  result.cpu_b_over_a = Median(runs[0].cpu) / Median(decode_cpu);
  std::printf("  b/a = %.2f (target <= %.2f)   c/a = %.2f (target <= %.2f)   processor time b/a = %.2f",
              result.b_over_a, kTargetSingle, result.c_over_a, kTargetThreaded, result.cpu_b_over_a);
  if (o.data) std::printf("   data %.3f s (target < %.1f s)", Median(runs.back().seconds), kTargetDataSeconds);
  std::printf("\n  read-back of (c)'s set: median %.3f s = %.1f %% of (c)", Median(read_back),
              100 * Median(read_back) / Median(runs[1].seconds));
  std::printf("\n  ZAVO_DS of every thread count %s; quick path %s the libpng path's canvases\n",
              result.identical ? "byte-identical" : "DIFFER", result.agrees ? "gives" : "DOES NOT give");
  std::fflush(stdout);
  for (const Conversion& c : runs) {
    fs::remove_all(c.workspace);
    fs::remove_all(c.dest);
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path self = fs::absolute(argv[0]);
  Options o;
  o.cli = dw::bench::Option(argc, argv, "--cli", (self.parent_path() / "datawright-cli").c_str());
  o.pages = std::clamp(dw::bench::IntOption(argc, argv, "--pages", kDefaultPages), 3, kMaxPages);
  o.map_days = std::clamp(dw::bench::IntOption(argc, argv, "--map-days", kDefaultMapDays), 0, 3);
  o.runs = std::max(1, dw::bench::IntOption(argc, argv, "--runs", kDefaultRuns));
  o.keep = dw::bench::Option(argc, argv, "--keep", nullptr);
  const std::string form_name = dw::bench::Option(argc, argv, "--form", dw::bench::kPageForms[0].name);
  std::vector<const dw::bench::PageForm*> forms;
  for (const dw::bench::PageForm& f : dw::bench::kPageForms) {
    if (form_name == "all" || form_name == f.name) forms.push_back(&f);
  }
  if (forms.empty()) {
    std::fprintf(stderr, "--form is all or one of:");
    for (const dw::bench::PageForm& f : dw::bench::kPageForms) std::fprintf(stderr, " %s", f.name);
    std::fprintf(stderr, "\n");
    return 2;
  }
  o.data = forms.size() == 1;

  const fs::path base = fs::temp_directory_path() / ("dw-whole-run-bench-" + std::to_string(::getpid()));
  const fs::path catalogs = o.keep ? fs::path(o.keep) : base;
  std::vector<FormResult> results;
  fs::path shared;
  for (const dw::bench::PageForm* f : forms) {
    const fs::path catalog = catalogs / (std::string("catalog-") + f->name);
    results.push_back(RunForm(*f, catalog, shared, base, o));
    if (shared.empty()) shared = catalog;  // its maps and tables serve the other forms
  }
  bool ok = true;
  if (results.size() > 1) {
    std::printf("\n%-16s %6s %6s %8s %9s %9s\n", "form", "b/a", "c/a", "cpu b/a", "peak b", "peak c");
  }
  for (const FormResult& r : results) {
    const bool met = r.b_over_a <= kTargetSingle && r.c_over_a <= kTargetThreaded;
    ok = ok && r.identical && r.agrees;
    if (results.size() > 1) {
      std::printf("%-16s %6.2f %6.2f %8.2f %6.0f MB %6.0f MB  %s%s%s, quick decoder took %zu/%zu\n", r.form,
                  r.b_over_a, r.c_over_a, r.cpu_b_over_a, r.peak_b, r.peak_c, met ? "targets met" : "TARGET MISSED",
                  r.identical ? "" : ", OUTPUT DIFFERS", r.agrees ? "" : ", CANVASES DIFFER", r.taken, r.files);
    }
  }
  std::error_code ec;
  fs::remove_all(base, ec);
  return ok ? 0 : 1;
}
