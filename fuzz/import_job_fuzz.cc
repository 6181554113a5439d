// The whole check-list import over fuzzed files in a scratch folder. The input holds three parts
// (see SplitParts): the CSV file, the workspace's L_Date.dat and its L_DayTop.dat; a missing part
// is a missing file.
#include "dataset/check_files.h"
#include "checklist/check_list_import.h"
#include "dataset/day_tables.h"
#include "common/atomic_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  namespace fs = std::filesystem;
  const auto parts = fuzz::SplitParts(fuzz::AsBytes(data, size), 3);
  // The job writes two files for every day of L_Date.dat, however many it lists (up to 65535,
  // each memo file up to 10 MB). Larger day counts than this only cost disk space here.
  constexpr unsigned kMaxFuzzedDays = 16;
  if (parts[1] && parts[1]->size() >= 2 &&
      static_cast<unsigned>(static_cast<unsigned char>((*parts[1])[0]) | static_cast<unsigned char>((*parts[1])[1])
                                                                             << 8) > kMaxFuzzedDays) {
    return 0;
  }
  const fs::path dir = fuzz::FreshDir("import");
  fuzz::PutPart(dir / "in.csv", parts[0]);
  fuzz::PutPart(dir / "WS" / "CDATA" / "L_Date.dat", parts[1]);
  fuzz::PutPart(dir / "WS" / "CDATA" / "L_DayTop.dat", parts[2]);

  CheckListImport job;
  job.params.csv_file = dir / "in.csv";
  job.params.output_folder = dir / "OUT" / "CheckList";
  job.params.workspace = dir / "WS";
  CheckListImportResult result;
  bool finished = false;
  fuzz::Guarded([&] {
    result = job.Run();
    finished = true;
  });

  // Whatever happened, no temporary file is left and every file written is complete.
  std::vector<DayRange> index;
  fuzz::Guarded([&] { index = ReadDayIndex(dir / "WS" / "CDATA" / "L_DayTop.dat"); });
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(job.params.output_folder, ec)) {
    fuzz::Require(!IsPartialFile(e.path()));
    const std::string name = e.path().filename().string();
    const std::string bytes = ReadWholeFile(e.path());
    if (name.starts_with("Check")) {
      fuzz::Require(bytes.size() == 4098);
      fuzz::Require(ParseCheckFile(bytes, e.path()).size() <= static_cast<size_t>(kMaxRecordsPerDay));
    } else {
      fuzz::Require(name.starts_with("C_Memo"));
      const int day = std::stoi(name.substr(6));
      fuzz::Require(day >= 1 && static_cast<size_t>(day) <= index.size());
      fuzz::Require(bytes.size() == 2 + 162 * static_cast<size_t>(index[day - 1].count));
    }
  }
  if (finished && result.outcome == CheckListImportOutcome::kDayLimitExceeded) {
    fuzz::Require(result.days_written == result.stopped_day - 1);
  }
  return 0;
}
