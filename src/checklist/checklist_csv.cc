#include "checklist/checklist_csv.h"

#include "common/numbers.h"
#include "common/sjis.h"
#include "common/text_lines.h"

namespace dw {

namespace {

// The quoted field starting at line[p] (a quote). Returns the position after the closing quote,
// or line.size() when the quote is never closed (the field then runs to the end).
size_t TakeQuoted(std::string_view line, size_t p, std::string& field) {
  ++p;
  while (p < line.size()) {
    if (line[p] == '"') {
      if (p + 1 < line.size() && line[p + 1] == '"') {
        field += '"';
        p += 2;
        continue;
      }
      return p + 1;
    }
    const size_t n = SjisCharLength(line, p);
    field.append(line.substr(p, n));
    p += n;
  }
  return p;
}

}  // namespace

std::vector<std::string> SplitCsvLine(std::string_view raw) {
  std::string line(raw);
  line += ",,,,,,,,,,";
  std::vector<std::string> fields;
  size_t p = 0;
  for (;;) {
    if (p < line.size() && line[p] == '"') {
      std::string field;
      p = TakeQuoted(line, p, field);
      fields.push_back(std::move(field));
      // Skip the one character after the closing quote, normally the separating comma.
      if (p < line.size()) p += SjisCharLength(line, p);
      continue;
    }
    const size_t comma = line.find(',', p);
    if (comma == std::string::npos) {
      fields.emplace_back(line.substr(p));
      return fields;
    }
    fields.emplace_back(line.substr(p, comma - p));
    p = comma + 1;
  }
}

namespace {

CsvLines KeepLines(const std::vector<std::string>& lines, const std::function<void()>& after_each_line) {
  CsvLines kept;
  for (const std::string& line : lines) {
    std::vector<std::string> fields = SplitCsvLine(line);
    if (RightTrim(fields[0]).empty()) continue;
    kept.push_back(std::move(fields));
    if (after_each_line) after_each_line();
  }
  return kept;
}

}  // namespace

CsvLines ReadCsvLines(std::string_view text, const std::function<void()>& after_each_line) {
  return KeepLines(SplitTextLines(text, LoneCr::kEndsLine), after_each_line);
}

CsvLines ReadCsvFile(const std::filesystem::path& path, const std::function<void()>& after_each_line) {
  return KeepLines(ReadTextLines(path, LoneCr::kEndsLine), after_each_line);
}

bool IsVer1CheckList(const CsvLines& lines) { return !lines.empty() && lines[0][0] == kCsvTag; }

bool IsVer1CheckListFile(const std::filesystem::path& path) { return IsVer1CheckList(ReadCsvFile(path)); }

std::string_view CsvField(const std::vector<std::string>& fields, size_t k) {
  return k < fields.size() ? std::string_view(fields[k]) : std::string_view();
}

std::string MemoFromCsv(std::string_view field) {
  const std::string_view text = RightTrim(field);
  std::string memo;
  memo.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'N')) {
      memo += ' ';
      i += 2;
      continue;
    }
    const size_t n = SjisCharLength(text, i);
    memo.append(text.substr(i, n));
    i += n;
  }
  return memo;
}

void AppendCsvField(std::string& out, std::string_view field) {
  // Shift-JIS trail bytes are never '"' or ',', so a byte scan finds exactly these characters.
  if (field.find_first_of(",\"") == std::string_view::npos) {
    out.append(field);
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields) {
  for (std::string_view f : fields) {
    AppendCsvField(out, f);
    out += ',';
  }
  out += "\r\n";
}

}  // namespace dw
