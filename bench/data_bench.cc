// Times the whole data conversion (DataConversion::Button1Click) of a generated full-size catalog:
// 3 days of 12,000 circles, 256 blocks and a map table of 6,912 positions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "catalog/data_conversion.h"
#include "catalog_generator.h"
#include "common/status_log.h"

namespace {
namespace fs = std::filesystem;

constexpr int kRuns = 7;

}  // namespace

int main() {
  const fs::path base = fs::temp_directory_path() / ("dw-data-bench-" + std::to_string(std::random_device{}()));
  const fs::path root = base / "catalog";
  const fs::path workspace = base / "DATA";
  dw::bench::GenerateDataTables(root);
  for (const char* sub : {"CDATA", "MDATA", "SYSTEM", "CheckList", "DataFull"}) fs::create_directories(workspace / sub);

  dw::NullStatusLog log;
  std::vector<double> ms;
  for (int run = 0; run < kRuns; ++run) {
    dw::DataConversion converter(log);
    converter.RootFld = root;
    converter.C_No = "99";
    converter.DstFld = workspace;
    const auto start = std::chrono::steady_clock::now();
    converter.Run();
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("data conversion, %d days x %d circles, %d blocks, %d map positions: best %.1f ms, median %.1f ms, "
              "worst %.1f ms (%d runs)\n",
              dw::bench::kDays, dw::bench::kCirclesPerDay, dw::bench::kBlocks,
              dw::bench::kBlocks * dw::bench::kSpacesPerBlock, ms.front(), ms[ms.size() / 2], ms.back(),
              kRuns);
  fs::remove_all(base);
  return 0;
}
