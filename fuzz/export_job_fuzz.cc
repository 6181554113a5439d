// The whole check-list export over a fuzzed card folder in a scratch folder. The input holds up to
// eight parts (see SplitParts): D_Full1.dat, DEF.dat, L_DayTop.dat, Check1.dat, D_Buy1.dat,
// D_Full2.dat, Check2.dat, D_Buy2.dat; a missing part is a missing file.
#include <algorithm>

#include "checklist/check_list_export.h"
#include "common/atomic_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  namespace fs = std::filesystem;
  const auto parts = fuzz::SplitParts(fuzz::AsBytes(data, size), 8);
  // Every check slot writes one line for each D_Full line of its circle, so a card whose files
  // repeat one circle number makes slots x lines record lines (a 64 KB input can ask for tens of
  // millions). That is the format's rule, not a fault; such inputs only cost time here.
  auto used = [&](size_t k) -> size_t {
    return parts[k] && parts[k]->size() >= 2
               ? static_cast<unsigned char>((*parts[k])[0]) | static_cast<unsigned char>((*parts[k])[1]) << 8
               : 0;
  };
  auto lines = [&](size_t k) -> size_t {
    return parts[k] ? std::count(parts[k]->begin(), parts[k]->end(), '\n') + 1 : 0;
  };
  if ((used(3) + used(6)) * (lines(0) + lines(5)) > 200000) return 0;
  const fs::path dir = fuzz::FreshDir("export");
  const fs::path card = dir / "ZAVO_DS";
  fuzz::PutPart(card / "DataFull" / "D_Full1.dat", parts[0]);
  fuzz::PutPart(card / "CDATA" / "DEF.dat", parts[1]);
  fuzz::PutPart(card / "CDATA" / "L_DayTop.dat", parts[2]);
  fuzz::PutPart(card / "CheckList" / "Check1.dat", parts[3]);
  fuzz::PutPart(card / "CheckList" / "D_Buy1.dat", parts[4]);
  fuzz::PutPart(card / "DataFull" / "D_Full2.dat", parts[5]);
  fuzz::PutPart(card / "CheckList" / "Check2.dat", parts[6]);
  fuzz::PutPart(card / "CheckList" / "D_Buy2.dat", parts[7]);

  CheckListExport job;
  job.params.source_folder = card;
  job.params.destination_folder = dir / "PC";
  job.params.substitute_colour = size % 10;
  CheckListExportResult result;
  bool finished = false;
  fuzz::Guarded([&] {
    result = job.Run();
    finished = true;
  });

  const fs::path csv_file = dir / "PC" / "ZAVO_DS_Check.csv";
  std::error_code ec;
  fuzz::Require(!fs::exists(dir / "PC" / "ZAVO_DS_Check.csv.partial", ec));
  if (!finished) {
    // A failed export leaves no file behind.
    fuzz::Require(!fs::exists(csv_file, ec));
    return 0;
  }
  // The header and one CR LF ended line per record, each ending in a comma.
  const std::string csv = ReadWholeFile(csv_file);
  fuzz::Require(csv.starts_with("PELORIN,100,Quorvatelle"));
  size_t line_ends = 0;
  for (size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) {
    if (line_ends > 0) fuzz::Require(at > 0 && csv[at - 1] == ',');
    ++line_ends;
  }
  fuzz::Require(line_ends == result.record_lines + 1);
  fuzz::Require(csv.ends_with("\r\n"));
  fuzz::Require(result.day_count == (parts[0] ? 1 : 0) + (parts[5] ? 1 : 0));
  return 0;
}
