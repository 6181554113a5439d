// Times the whole data conversion (DataConversion::Button1Click) of a generated full-size catalog:
// 3 days of 12,000 circles, 256 blocks and a map table of 6,912 positions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "catalog/data_conversion.h"
#include "common/status_log.h"

namespace {
namespace fs = std::filesystem;

constexpr int kDays = 3;
constexpr int kCirclesPerDay = 12000;
constexpr int kBlocks = 256;
constexpr int kSpacesPerBlock = 27;
constexpr int kBlocksPerArea = 8;
constexpr int kCirclesPerPage = 20;
constexpr int kRuns = 7;

// 256 distinct double-byte block names: level-1 kanji from 0x8940 on.
std::vector<std::string> BlockNames() {
  std::vector<std::string> names;
  for (int lead = 0x89; names.size() < kBlocks; ++lead) {
    for (int trail = 0x40; trail <= 0xFC && names.size() < kBlocks; ++trail) {
      if (trail == 0x7F) continue;
      names.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return names;
}

void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
  return line;
}

void GenerateCatalog(const fs::path& root) {
  const fs::path cdata = root / "CDATA";
  fs::create_directories(cdata);
  const std::vector<std::string> blocks = BlockNames();
  const std::string east = "\x93\x8C", west = "\x90\xBC";  // 東, 西

  std::vector<std::string> map = {"# block\tspace\tx\ty\tlayout"};
  for (int b = 0; b < kBlocks; ++b) {
    for (int s = 1; s <= kSpacesPerBlock; ++s) {
      map.push_back(Join({blocks[b], std::to_string(s), std::to_string(20 + (b % 32) * 40 + (s > 13 ? 20 : 0)),
                          std::to_string(20 + (b / 32) * 120 + ((s - 1) % 13) * 8), std::to_string(1 + s % 4)}));
    }
  }
  WriteLines(cdata / "C99MAP.TXT", map);

  std::vector<std::string> def = {"*Vandrel", "99\tBench", "*cutInfo", "211\t300\t10\t10\t30\t20", "*mapTableInfo",
                                  "20\t16\t50\t36", "*VandrelGenre"};
  for (int g = 1; g <= 40; ++g) def.push_back(std::to_string(g * 10) + "\tGenre" + std::to_string(g));
  def.push_back("*VandrelMap");
  for (int m = 0; m < 5; ++m) def.push_back("MAP" + std::to_string(m) + "\tHall" + std::to_string(m));
  def.push_back("*VandrelArea");
  for (int a = 0; a < kBlocks / kBlocksPerArea; ++a) {
    std::string set;
    for (int b = a * kBlocksPerArea; b < (a + 1) * kBlocksPerArea; ++b) set += blocks[b];
    def.push_back(Join({"AREA" + std::to_string(a), "MAP" + std::to_string(a % 5), set}));
  }
  def.push_back("*VandrelDate");
  for (int d = 1; d <= kDays; ++d) def.push_back(Join({"2010", "8", std::to_string(12 + d), "\x8B\xE0", "1"}));
  WriteLines(cdata / "C99DEF.TXT", def);

  std::mt19937 rng(99);
  for (int d = 1; d <= kDays; ++d) {
    std::vector<std::string> rows;
    rows.reserve(kCirclesPerDay);
    for (int i = 0; i < kCirclesPerDay; ++i) {
      const int b = i * kBlocks / kCirclesPerDay;
      const int within = i - (b * kCirclesPerDay + kBlocks - 1) / kBlocks;
      const std::string n = std::to_string(i);
      rows.push_back(Join({std::to_string(d * 100000 + i), "1", std::to_string(1 + i / kCirclesPerPage),
                           std::to_string(1 + i % kCirclesPerPage), std::to_string(d), b < 128 ? east : west,
                           blocks[b], std::to_string(1 + (within / 2) % kSpacesPerBlock),
                           std::to_string(10 * (1 + rng() % 40)), "Circle name " + n, "kana" + n,
                           "Author " + n, "http://example.jp/" + n + "/", "c" + n + "@example.jp", "note",
                           "A description of circle " + n + " and of what it brings to the event."}));
    }
    WriteLines(cdata / ("C99ROM" + std::to_string(d) + ".TXT"), rows);
  }
}

}  // namespace

int main() {
  const fs::path base = fs::temp_directory_path() / ("dw-data-bench-" + std::to_string(std::random_device{}()));
  const fs::path root = base / "catalog";
  const fs::path workspace = base / "DATA";
  GenerateCatalog(root);
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
              kDays, kCirclesPerDay, kBlocks, kBlocks * kSpacesPerBlock, ms.front(), ms[ms.size() / 2], ms.back(),
              kRuns);
  fs::remove_all(base);
  return 0;
}
