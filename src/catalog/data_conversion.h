// DataConversion (the job object TDefMake of the catalog tools): the data conversion driver. Loads
// the catalog text tables and runs the table writers in their fixed order: event definitions
// once, then each event day 1 to 4.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalog/conversion_state.h"
#include "catalog/row_table.h"
#include "common/status_log.h"

namespace dw {

inline constexpr int kMaxEventDays = 4;

class DataConversion {
 public:
  // Source root (holds CDATA, MDATA, PDATA), the event number and the workspace.
  std::filesystem::path RootFld;
  std::string C_No;
  std::filesystem::path DstFld;
  // Called before each event day, where every file written so far is complete; it may throw to
  // stop the run there (a stop request). May be empty.
  std::function<void()> safe_point;

  explicit DataConversion(StatusLog& log) : log_(log) {}

  // Runs the whole data conversion. Errors propagate as dw::Error.
  void Run();

  // Counters of the last run, for tests and the front ends.
  int day_counter() const { return day_counter_; }
  uint32_t circle_offset() const { return circle_offset_; }
  const std::vector<uint32_t>& day_starts() const { return day_starts_; }
  const std::vector<uint32_t>& day_counts() const { return day_counts_; }
  const ConversionState& state() const { return state_; }

 private:
  std::filesystem::path CatalogFile(const std::string& suffix) const;

  StatusLog& log_;
  RowTable rows_;
  ConversionState state_;
  int day_counter_ = 1;
  uint32_t circle_offset_ = 0;
  std::vector<uint32_t> day_starts_;
  std::vector<uint32_t> day_counts_;
};

}  // namespace dw
