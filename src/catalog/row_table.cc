#include "catalog/row_table.h"

#include "common/paths.h"

namespace dw {

bool Row::InSection(std::string_view key) const {
  return has_section && !cells.empty() && EqualsIgnoreAsciiCase(cells[0], key);
}

const Row* LastRowOf(const RowTable& rows, std::string_view key) {
  const Row* last = nullptr;
  for (const Row& r : rows) {
    if (r.InSection(key)) last = &r;
  }
  return last;
}

const Row& RequiredRowOf(const RowTable& rows, std::string_view key) {
  const Row* row = LastRowOf(rows, key);
  if (!row) throw MissingSection(key);
  return *row;
}

std::vector<const Row*> RowsOf(const RowTable& rows, std::string_view key) {
  std::vector<const Row*> out;
  for (const Row& r : rows) {
    if (r.InSection(key)) out.push_back(&r);
  }
  return out;
}

}  // namespace dw
