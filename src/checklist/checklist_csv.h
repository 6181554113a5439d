// The check-list CSV (Ver.1): reading its lines into fields and writing record lines.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// Field 0 of the header line.
inline constexpr std::string_view kCsvTag = "PELORIN";

// Splits one line: ten commas are appended, then fields are taken from the front. A field that
// starts with a double quote runs to the next lone quote ("" stands for one quote, commas inside
// are kept, double-byte characters are stepped over whole) and the one character after it is
// skipped; any other field runs to the next comma. The last field is what follows the last comma.
std::vector<std::string> SplitCsvLine(std::string_view line);

// The kept lines of a CSV text, split: lines end at CR LF, LF or a lone CR, a byte 0x1A ends the
// text, and a line is kept only when its field 0 is not blank. `after_each_line` (may be empty)
// runs after every kept line.
using CsvLines = std::vector<std::vector<std::string>>;
CsvLines ReadCsvLines(std::string_view text, const std::function<void()>& after_each_line = {});

// Reads a CSV file; throws TextFileError when it cannot be opened.
CsvLines ReadCsvFile(const std::filesystem::path& path, const std::function<void()>& after_each_line = {});

// The first kept line is tagged kCsvTag: the file is a Ver.1 check list.
bool IsVer1CheckList(const CsvLines& lines);
// IsVer1CheckList of a file; throws TextFileError when it cannot be opened.
bool IsVer1CheckListFile(const std::filesystem::path& path);

// Field k of a split line, or an empty field when the line has fewer fields.
std::string_view CsvField(const std::vector<std::string>& fields, size_t k);

// The memo field as the import stores it: trailing bytes <= 0x20 removed, then every "\n" (also
// "\N") replaced by one space. Double-byte characters are stepped over whole, so a trail byte
// 0x5C never starts a match.
std::string MemoFromCsv(std::string_view field);

// The two characters that stand for a line break inside the memo field.
inline constexpr std::string_view kCsvMemoLineBreak = "\\n";

// One field as written: between double quotes, each quote inside doubled, when it holds a comma
// or a double quote; otherwise as it is.
void AppendCsvField(std::string& out, std::string_view field);

// A record line: every field (AppendCsvField) followed by one comma, then CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields);

}  // namespace dw
