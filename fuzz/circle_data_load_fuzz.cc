// CircleDataLoad, the export's reader of DataFull/D_Full<d>.dat, over arbitrary bytes.
#include "dataset/field_splitter.h"
#include "checklist/check_list_export.h"
#include "common/text_lines.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const std::filesystem::path file = fuzz::FreshDir("d_full") / "D_Full1.dat";
  fuzz::PutFile(file, bytes);
  CheckListExport job;
  bool loaded = false;
  fuzz::Guarded([&] {
    job.CircleDataLoad(file);
    loaded = true;
  });
  if (loaded) {
    // One entry per line, in file order, each holding its line as read.
    const std::vector<std::string> lines = SplitTextLines(bytes);
    fuzz::Require(job.circle_lines().size() == lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      fuzz::Require(job.circle_lines()[i].line == lines[i]);
      fuzz::Require(std::to_string(job.circle_lines()[i].circle_number).size() <= SplitFields(lines[i])[0].size());
    }
  }
  return 0;
}
