// The catalog line splitter and both text-table loaders over arbitrary bytes.
#include "dataset/field_splitter.h"
#include "catalog/table_loader.h"
#include "common/status_log.h"
#include "common/text_lines.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const std::vector<std::string> lines = SplitTextLines(bytes);
  for (const std::string& line : lines) {
    std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 3) __builtin_trap();  // at least the padding fields
  }
  RowTable rows;
  NullStatusLog log;
  fuzz::Guarded([&] { LoadTextTableLines(lines, rows); });
  fuzz::Guarded([&] { LoadCircleTableLines(lines, rows, log); });
  return 0;
}
