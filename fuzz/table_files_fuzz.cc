// The readers of the tables a conversion run reads back from the workspace, L_Block.dat,
// L_Page<d>.dat, L_Genre.dat, L_Map.dat and L_Area.dat, over fuzzed files, together with the
// writers that use what they return. The input holds five parts (see SplitParts) in that order; a
// missing part is a missing file. The catalog tables are small fixed ones.
#include "dataset/table_reader.h"
#include "catalog/table_loader.h"
#include "catalog/table_writers.h"
#include "common/sjis.h"
#include "common/status_log.h"
#include "common/text_lines.h"
#include "fuzz_input.h"

namespace {

using namespace dw;

RowTable Load(std::string_view utf8, bool circles) {
  RowTable rows;
  NullStatusLog log;
  const std::vector<std::string> lines = SplitTextLines(Utf8ToCp932(utf8));
  if (circles)
    LoadCircleTableLines(lines, rows, log);
  else
    LoadTextTableLines(lines, rows);
  return rows;
}

struct Catalog {
  RowTable definitions = Load(
      "*Vandrel\t77\tイベント\n*cutInfo\t211\t300\t10\t10\t30\t20\n*mapTableInfo\t20\t15\t50\t36\n"
      "*VandrelGenre\t100\t創作\n*VandrelMap\tE123\t東123\n*VandrelMap\tW12\t西12\n"
      "*VandrelArea\t東A\tE123\tＡＢＣ\n*VandrelArea\t西あ\tW12\tあいう\n"
      "*VandrelDate\t2010\t8\t13\t金\t2\n",
      false);
  RowTable map = Load("Ａ\t1\t40\t60\t1\nＡ\t2\t40\t90\t3\nＢ\t1\t80\t60\t2\nあ\t1\t10\t10\t4\n", false);
  RowTable circles = Load(
      "10000\t1\t2\t1\t1\t東\tＡ\t01\t\t名前\tｶﾅ\n10001\t1\t2\t2\t1\t東\tＡ\t02\t100\t名前\tｶﾅ\n"
      "10002\t1\t3\t1\t1\t東\tＢ\t01\t999\t名前\tｶﾅ\n10003\t1\t4\t1\t1\t西\tあ\t01\t100\t名前\tｶﾅ\n",
      true);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  static const Catalog catalog;
  const auto parts = fuzz::SplitParts(fuzz::AsBytes(data, size), 5);
  const fs::path dir = fuzz::FreshDir("tables");
  const fs::path block = dir / "L_Block.dat", page = dir / "L_Page1.dat", genre = dir / "L_Genre.dat",
                 map = dir / "L_Map.dat", area = dir / "L_Area.dat";
  fuzz::PutPart(block, parts[0]);
  fuzz::PutPart(page, parts[1]);
  fuzz::PutPart(genre, parts[2]);
  fuzz::PutPart(map, parts[3]);
  fuzz::PutPart(area, parts[4]);

  // The readers alone: records of the stated size, never more than the file holds.
  const std::pair<fs::path, size_t> tables[] = {{block, 2}, {page, 4}, {genre, 42}, {map, 20}, {area, 10}};
  for (const auto& [file, record_size] : tables) {
    fuzz::Guarded([&, file = file, record_size = record_size] {
      const std::vector<std::string> records = ReadTableRecords(file, record_size);
      fuzz::Require(2 + records.size() * record_size <= fs::file_size(file));
      for (const std::string& r : records) fuzz::Require(r.size() == record_size);
      for (const std::string& name : ReadTrimmedNames(file, record_size, std::min<size_t>(record_size, 10))) {
        fuzz::Require(name.size() <= 10);
      }
    });
  }
  fuzz::Guarded([&] { FirstPositions(ReadBlockNames(block)); });

  // The writers that read them back, each on its own so one refusal does not hide the others.
  NullStatusLog log;
  ConversionState st;
  st.log = &log;
  fuzz::Guarded([&] { WriteEventHeader(catalog.definitions, dir / "DEF.dat", st); });
  fuzz::Guarded([&] { WriteMapList(catalog.definitions, dir / "L_Map.written.dat", st); });
  fuzz::Guarded([&] { WriteMapPositions(catalog.map, dir / "L_MapPos.dat", block, st); });
  fuzz::Guarded([&] { WriteBlockAreaIndex(catalog.definitions, dir / "I_Block.dat", map, area, block, st); });
  fuzz::Guarded([&] { WriteBlockTops(catalog.circles, dir / "L_BlkTop1.dat", block, page, st); });
  fuzz::Guarded([&] { WriteCircleList(catalog.circles, 0, "M1", "C_List1.dat", dir, block, st); });
  fuzz::Guarded([&] { WriteCircleInfo(catalog.circles, dir / "C_Info1.dat", genre, st); });
  return 0;
}
