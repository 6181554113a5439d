// A workspace folder, a recording status log and row builders for the table writer tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/conversion_state.h"
#include "catalog/table_loader.h"
#include "common/table_builder.h"
#include "support/test_support.h"

namespace dw::test {

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() { st.log = &log; }

  // Rows of a map or definition table, as the text loader reads the lines.
  static RowTable TextRows(const std::vector<std::string>& lines) {
    RowTable rows;
    LoadTextTableLines(lines, rows);
    return rows;
  }
  // Rows of a day's circle table, as the circle list loader reads the lines.
  static RowTable CircleRows(const std::vector<std::string>& lines) {
    RowTable rows;
    NullStatusLog quiet;
    LoadCircleTableLines(lines, rows, quiet);
    return rows;
  }
  // An L_Block.dat holding `names` (two bytes each).
  std::filesystem::path BlockFile(const std::vector<std::string>& names) {
    TableBuilder t;
    for (const std::string& n : names) t.Bytes(n);
    t.SetCount(static_cast<uint32_t>(names.size()));
    t.Save(dir / "L_Block.dat");
    return dir / "L_Block.dat";
  }
  std::string Read(const std::string& name) const { return ReadFile(dir / name); }

  TempDir dir;
  RecordingStatusLog log;
  ConversionState st;
};

// A circle table line: cells 0..15 from `cells`, the rest empty.
inline std::string CircleLine(std::vector<std::string> cells) {
  cells.resize(16);
  std::string line = cells[0];
  for (size_t i = 1; i < cells.size(); ++i) line += "\t" + cells[i];
  return line;
}

}  // namespace dw::test
