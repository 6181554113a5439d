// The in-memory form of a loaded catalog table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"

namespace dw {

struct Row {
  // 0-based count of the data rows before this one in its file.
  int number = 0;
  // Cell 0 is the section name when a section line came before the row; then the fields.
  std::vector<std::string> cells;
  bool has_section = false;

  // The cell at `index`; throws IndexOutOfRange when the row has none.
  const std::string& Cell(size_t index) const {
    if (index >= cells.size()) throw IndexOutOfRange(static_cast<long long>(index));
    return cells[index];
  }
  // True when the row's section, upper-cased in ASCII, equals the upper-cased key.
  bool InSection(std::string_view key) const;
};

using RowTable = std::vector<Row>;

// The last row of `key`'s section, or nullptr.
const Row* LastRowOf(const RowTable& rows, std::string_view key);
// The last row of `key`'s section; throws a dw::Error naming the section when it has none.
const Row& RequiredRowOf(const RowTable& rows, std::string_view key);
// All rows of `key`'s section, in table order.
std::vector<const Row*> RowsOf(const RowTable& rows, std::string_view key);

}  // namespace dw
