#include "catalog/table_loader.h"

#include "dataset/field_splitter.h"
#include "common/numbers.h"
#include "common/text_lines.h"

namespace dw {
namespace {

inline constexpr int kCircleProgressMax = 12800;
inline constexpr int kCircleProgressStep = 100;

size_t Load(const std::vector<std::string>& lines, RowTable& rows, StatusLog* circle_log) {
  rows.clear();
  std::string section;
  int number = 0;
  std::vector<std::string> fields;
  if (circle_log) {
    circle_log->SetProgressMin(0);
    circle_log->SetProgressMax(kCircleProgressMax);
    circle_log->SetProgressPosition(0);
  }
  for (const std::string& line : lines) {
    if (circle_log && number % kCircleProgressStep == 0) {
      circle_log->SetProgressPosition(number);
      circle_log->ProcessEvents();
    }
    SplitFields(line, fields);
    if (circle_log) {
      if (RightTrim(fields[0]).empty()) fields[0] = "0";
      if (RightTrim(fields[1]).empty()) fields[1] = "0";
    }
    if (RightTrim(fields[0]).empty()) continue;
    if (fields[0][0] == '#') continue;
    if (fields[0][0] == '*') {
      section = fields[0];
      continue;
    }
    Row row;
    row.number = number++;
    row.has_section = !section.empty();
    row.cells.reserve(fields.size() + 1);
    if (row.has_section) row.cells.push_back(section);
    for (std::string& f : fields) row.cells.push_back(std::move(f));
    rows.push_back(std::move(row));
  }
  return rows.size();
}

}  // namespace

size_t LoadTextTableLines(const std::vector<std::string>& lines, RowTable& rows) {
  return Load(lines, rows, nullptr);
}

size_t LoadCircleTableLines(const std::vector<std::string>& lines, RowTable& rows, StatusLog& log) {
  return Load(lines, rows, &log);
}

size_t LoadTextTable(const std::filesystem::path& path, RowTable& rows) {
  return LoadTextTableLines(ReadTextLines(path), rows);
}

size_t LoadCircleTable(const std::filesystem::path& path, RowTable& rows, StatusLog& log) {
  return LoadCircleTableLines(ReadTextLines(path), rows, log);
}

}  // namespace dw
