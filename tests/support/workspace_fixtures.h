// Workspaces and day tables for tests, written through the data set's own writers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "dataset/day_tables.h"
#include "dataset/layout.h"
#include "support/test_support.h"

namespace dw::test {

// A workspace with every folder the catalog job creates before its jobs run.
inline std::filesystem::path MakeWorkspace(const std::filesystem::path& workspace) {
  for (const char* folder : kDataSetFolders) std::filesystem::create_directories(workspace / folder);
  return workspace;
}

// L_Date.dat whose days start at `starts` (the date fields are filler: 2010-08-13, Friday).
inline void WriteDayStarts(const std::filesystem::path& workspace, const std::vector<uint16_t>& starts) {
  std::vector<EventDay> days;
  for (uint16_t start : starts) days.push_back({10, 8, 13, 4, start});
  std::filesystem::create_directories(DataSetLayout(workspace).cdata());
  WriteDayList(DataSetLayout(workspace).days(), days);
}

// L_DayTop.dat with (first circle, count) per day.
inline void WriteDayRanges(const std::filesystem::path& workspace,
                           const std::vector<std::pair<uint16_t, uint16_t>>& ranges) {
  std::vector<uint32_t> firsts, counts;
  for (auto [first, count] : ranges) {
    firsts.push_back(first);
    counts.push_back(count);
  }
  std::filesystem::create_directories(DataSetLayout(workspace).cdata());
  WriteDayIndex(DataSetLayout(workspace).day_index(), firsts, counts);
}

// The bytes of an L_Date.dat with those day starts, for tests that damage it.
inline std::string DayListBytes(const std::vector<uint16_t>& starts) {
  TempDir dir;
  WriteDayStarts(dir.path(), starts);
  return ReadFile(DataSetLayout(dir.path()).days());
}

// The bytes of an L_DayTop.dat with those (first circle, count) ranges.
inline std::string DayTopBytes(const std::vector<std::pair<uint16_t, uint16_t>>& ranges) {
  TempDir dir;
  WriteDayRanges(dir.path(), ranges);
  return ReadFile(DataSetLayout(dir.path()).day_index());
}

}  // namespace dw::test
