// The readers of the small workspace tables over arbitrary bytes: L_Date.dat (read by the import
// and by the image job), L_DayTop.dat (import and export) and DEF.dat (export). The same bytes
// are offered as each of the three files.
#include "checklist/check_list_export.h"
#include "dataset/day_tables.h"
#include "common/atomic_file.h"
#include "fuzz_input.h"
#include "images/day_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const std::filesystem::path dir = fuzz::FreshDir("tables");
  const std::filesystem::path file = dir / "table.dat";
  fuzz::PutFile(file, bytes);

  std::vector<uint16_t> import_days, image_days;
  bool import_ok = false, image_ok = false;
  fuzz::Guarded([&] {
    import_days = ReadDayStartNumbers(file);
    import_ok = true;
  });
  fuzz::Guarded([&] {
    image_days = LoadDayTable(file);
    image_ok = true;
  });
  // The image job reads L_Date.dat through the same reader.
  fuzz::Require(import_ok == image_ok && import_days == image_days);
  if (import_ok) fuzz::Require(2 + 6 * import_days.size() <= bytes.size());

  fuzz::Guarded([&] {
    const std::vector<DayRange> index = ReadDayIndex(file);
    fuzz::Require(2 + 4 * index.size() <= bytes.size());
    for (int d = 0; d <= static_cast<int>(index.size()) + 1; ++d) {
      try {
        DayRangeOf(index, d, file);
        fuzz::Require(d >= 1 && d <= static_cast<int>(index.size()));
      } catch (const Error&) {
        fuzz::Require(d < 1 || d > static_cast<int>(index.size()));
      }
    }
  });

  // DEF.dat as the export reads it: a card folder with no D_Full file and an empty day index.
  const std::filesystem::path card = dir / "ZAVO_DS";
  fuzz::PutFile(card / "CDATA" / "DEF.dat", bytes);
  fuzz::PutFile(card / "CDATA" / "L_DayTop.dat", std::string(2, '\0'));
  CheckListExport job;
  job.params.source_folder = card;
  job.params.destination_folder = dir / "PC";
  bool exported = false;
  fuzz::Guarded([&] {
    job.Run();
    exported = true;
  });
  fuzz::Require(exported == (bytes.size() >= 2));
  if (exported) {
    const std::string csv = ReadWholeFile(dir / "PC" / "ZAVO_DS_Check.csv");
    const unsigned n = static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
    fuzz::Require(csv == "PELORIN,100,Quorvatelle" + std::to_string(n) + ",Windows\r\n");
  }
  return 0;
}
