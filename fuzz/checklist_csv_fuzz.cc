// The check-list CSV reader over arbitrary bytes: line splitting, field splitting and the memo
// field, with the promises the import relies on.
#include "checklist/checklist_csv.h"
#include "common/numbers.h"
#include "common/sjis.h"
#include "fuzz_input.h"

namespace {

// Whether a field steps evenly as Shift-JIS: no lead byte pairs with a quote or stands last.
bool WholeCharacters(std::string_view f) {
  for (size_t i = 0; i < f.size();) {
    const size_t n = dw::SjisCharLength(f, i);
    if ((n == 2 && f[i + 1] == '"') || (n == 1 && dw::IsSjisLeadByte(static_cast<unsigned char>(f[i])))) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  size_t calls = 0;
  const CsvLines lines = ReadCsvLines(bytes, [&] { ++calls; });
  fuzz::Require(calls == lines.size());
  for (const std::vector<std::string>& fields : lines) {
    // A kept line always has a non-blank field 0.
    fuzz::Require(!fields.empty() && !RightTrim(fields[0]).empty());
    const std::string memo = MemoFromCsv(CsvField(fields, 17));
    fuzz::Require(memo.size() <= CsvField(fields, 17).size());
    fuzz::Guarded([&] { ParseInt(CsvField(fields, 0)); });
    fuzz::Guarded([&] { ParseInt(CsvField(fields, 1)); });
    fuzz::Guarded([&] { ParseInt(CsvField(fields, 2)); });
  }
  // The line splitter alone, on the whole input taken as one line.
  const std::vector<std::string> one = SplitCsvLine(bytes);
  fuzz::Require(!one.empty());
  // Record lines written back are read as the same fields (quoted where they hold a comma or a
  // quote; no field holds a line end or a lead byte that would swallow a closing quote).
  if (!one.empty() && one.size() < 64) {
    std::vector<std::string_view> plain;
    for (const std::string& f : one) {
      if (f.find_first_of("\r\n\x1A") != std::string::npos || !WholeCharacters(f)) return 0;
      plain.push_back(f);
    }
    if (RightTrim(plain[0]).empty()) return 0;
    std::string out;
    AppendCsvRecord(out, plain);
    const CsvLines back = ReadCsvLines(out);
    fuzz::Require(back.size() == 1);
    for (size_t k = 0; k < plain.size(); ++k) fuzz::Require(CsvField(back[0], k) == plain[k]);
  }
  return 0;
}
