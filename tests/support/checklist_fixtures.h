// Building workspaces, card folders and CSV lines for the check-list tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dataset/check_files.h"
#include "common/table_builder.h"
#include "support/test_support.h"
#include "support/workspace_fixtures.h"

namespace dw::test {

// A workspace folder whose CDATA holds the two day tables.
inline void WriteWorkspace(const std::filesystem::path& workspace, const std::vector<uint16_t>& starts,
                           const std::vector<std::pair<uint16_t, uint16_t>>& days) {
  WriteDayStarts(workspace, starts);
  WriteDayRanges(workspace, days);
}

inline constexpr const char* kCsvHeader = "PELORIN,100,Quorvatelle77,Windows\r\n";

// A 20-field record line as the catalog saves it: circle, colour, page, memo in field 17.
inline std::string CsvRecord(const std::string& circle, const std::string& colour, const std::string& page,
                             const std::string& memo = "") {
  std::vector<std::string> f(19);
  f[0] = circle;
  f[1] = colour;
  f[2] = page;
  f[17] = memo;
  std::string line;
  for (const std::string& x : f) line += x + ",";
  return line + "\r\n";
}

// The used slots of a check file as the handheld leaves it: `slots` first, unused slots after.
inline std::string HandheldCheckFile(const std::vector<CheckSlot>& slots) {
  return BuildCheckFile(slots, kEmptyCheckFileSlots);
}

// A purchase file of `count` records; `filled` puts slots at (record, slot index).
struct PlacedPurchase {
  size_t record;
  size_t slot;
  PurchaseSlot value;
};
inline std::string PurchaseFileBytes(uint16_t count, const std::vector<PlacedPurchase>& filled) {
  std::string bytes = BuildEmptyPurchaseFile(count);
  for (const PlacedPurchase& p : filled) {
    const size_t at = 2 + kPurchaseRecordSize * p.record + 4 * p.slot;
    bytes[at] = static_cast<char>(p.value.kind);
    bytes[at + 1] = static_cast<char>(p.value.quantity);
    bytes[at + 2] = static_cast<char>(p.value.unit_price & 0xFF);
    bytes[at + 3] = static_cast<char>(p.value.unit_price >> 8);
  }
  return bytes;
}

// The used slots of a check file on disk.
inline std::vector<CheckSlot> CheckSlotsOf(const std::filesystem::path& file) {
  return ParseCheckFile(ReadFile(file), file);
}

}  // namespace dw::test
