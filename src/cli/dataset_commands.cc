// datawright-cli check ZAVO_DS_DIR [--against WORKSPACE]
// datawright-cli show FILE OUT.png [--palette Palette.pal]
#include <cstdio>
#include <system_error>

#include "cli/commands.h"
#include "common/messages.h"
#include "common/paths.h"
#include "convert/card_readback.h"
#include "dataset/data_set_check.h"
#include "dataset/image_files.h"
#include "dataset/layout.h"
#include "images/png_writer.h"
#include "platform/utf8_path.h"

namespace dw::cli {
namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool EndsWithIgnoringCase(const std::string& name, const std::string& tail) {
  return name.size() >= tail.size() && AsciiUpper(name.substr(name.size() - tail.size())) == AsciiUpper(tail);
}

}  // namespace

int RunCheck(const fs::path& set, const fs::path& against) {
  for (const fs::path& folder : {set, against}) {
    if (!folder.empty() && !IsFolder(folder)) {
      std::fprintf(stderr, "フォルダ \"%s\" がありません。\n", DisplayPath(folder).c_str());
      return kExitFailed;
    }
  }
  try {
    const std::vector<DataSetFault> faults = CheckDataSet(set);
    for (const DataSetFault& fault : faults) std::printf("%s\n", FaultLine(fault).c_str());
    size_t differences = 0;
    if (!against.empty()) {
      CompareOptions options;
      options.stop_at_first = false;
      const SetComparison comparison = CompareSetWithWorkspace(against, set, options);
      for (const FileDifference& d : comparison.differences) {
        std::printf("%s\n", FaultLine({d.relative, d.offset, "作業フォルダと違います: " + d.what}).c_str());
      }
      differences = comparison.differences.size();
      if (differences == 0) std::printf("作業フォルダと一致: %s ファイル\n", WithThousands(comparison.files).c_str());
    }
    if (faults.empty() && differences == 0) {
      std::printf("問題はありません: %s\n", DisplayPath(set).c_str());
      return kExitOk;
    }
    std::printf("問題 %zu 件: %s\n", faults.size() + differences, DisplayPath(set).c_str());
    return kExitFailed;
  } catch (const Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

int RunShow(const fs::path& file, const fs::path& png, const fs::path& palette_file) {
  try {
    const std::string name = Utf8FromPath(file.filename());
    const bool mini = EndsWithIgnoringCase(name, "mini.dat");
    if (!mini && !EndsWithIgnoringCase(name, ".gdc")) {
      std::fprintf(stderr, "datawright-cli: show takes a .gdc file or a MAP<d><g>mini.dat\n");
      return kExitUsage;
    }
    // A page lies in <set>/PDATA<d>, a map in <set>/MDATA: the set is two folders up.
    const fs::path palette_path =
        !palette_file.empty()
            ? palette_file
            : ResolveIgnoringCase(fs::absolute(file).parent_path().parent_path(), {kSystemFolder, "Palette.pal"});
    const PaletteFile palette = ReadPalette(palette_path);
    std::array<uint32_t, kPaletteEntries> colours{};
    for (int i = 0; i < kPaletteEntries; ++i) colours[i] = Rgb888(palette.colours[i]);
    if (mini) colours[0] = 0xFF0000;  // the red background outside the map area
    const IndexImage image = mini ? ReadMiniMap(file) : ReadGdc(file);
    WriteIndexedPng(png, image, colours);
    std::printf("%s: %u x %u\n", DisplayPath(png).c_str(), image.width, image.height);
    return kExitOk;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return kExitFailed;
  }
}

}  // namespace dw::cli
