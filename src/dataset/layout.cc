#include "dataset/layout.h"

#include "common/paths.h"

namespace dw {
namespace fs = std::filesystem;

namespace {
std::string DayFile(const char* prefix, int day) { return prefix + std::to_string(day) + ".dat"; }
}  // namespace

std::string CheckFileName(int day) { return DayFile("Check", day); }
std::string MemoFileName(int day) { return DayFile("C_Memo", day); }
std::string PurchaseFileName(int day) { return DayFile("D_Buy", day); }

std::string DataSetLayout::CircleListName(int day) { return DayFile("C_List", day); }
std::string DataSetLayout::DayMapPrefix(int day) { return "M" + std::to_string(day); }
fs::path DataSetLayout::pages(int day) const { return cdata() / DayFile("L_Page", day); }
fs::path DataSetLayout::block_tops(int day) const { return cdata() / DayFile("L_BlkTop", day); }
fs::path DataSetLayout::circle_info(int day) const { return cdata() / DayFile("C_Info", day); }
fs::path DataSetLayout::full_circles(int day) const { return data_full() / DayFile("D_Full", day); }
bool HoldsDataSet(const fs::path& root) {
  std::error_code ec;
  return fs::is_regular_file(DataSetLayout(root).event_header(), ec);
}

std::optional<fs::path> DataSetFolderIn(const fs::path& chosen) {
  const std::optional<fs::path> inner = FindIgnoringCase(chosen, kZavoDsFolder);
  if (inner && HoldsDataSet(*inner)) return inner;
  return std::nullopt;
}

fs::path DataSetLayout::page_folder(int day) const { return root_ / ("PDATA" + std::to_string(day)); }

}  // namespace dw
