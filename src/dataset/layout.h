// Every folder and file name of the handheld data set, in one place. The same layout stands in
// the workspace (DATA) and on the memory card (ZAVO_DS); the names are the handheld's own.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dw {

// The folder on the memory card that the handheld reads.
inline constexpr const char* kZavoDsFolder = "ZAVO_DS";

// The sub-folders of a data set.
inline constexpr const char* kCdataFolder = "CDATA";
inline constexpr const char* kMdataFolder = "MDATA";
inline constexpr const char* kSystemFolder = "SYSTEM";
inline constexpr const char* kCheckListFolder = "CheckList";
inline constexpr const char* kDataFullFolder = "DataFull";
// The two tables that tell whether two data sets are of the same event with the same circles per
// day (below CDATA).
inline constexpr const char* kEventHeaderFile = "DEF.dat";
inline constexpr const char* kDayIndexFile = "L_DayTop.dat";

// The folders every data set has (the per-day page folders PDATA<d> come with the images).
inline constexpr const char* kDataSetFolders[] = {kCdataFolder, kMdataFolder, kSystemFolder, kCheckListFolder,
                                                  kDataFullFolder};

// File names of one day d (1-based) of the CheckList folder.
std::string CheckFileName(int day);     // Check<d>.dat
std::string MemoFileName(int day);      // C_Memo<d>.dat
std::string PurchaseFileName(int day);  // D_Buy<d>.dat

// `root` holds a data set: its event header CDATA/DEF.dat is a file.
bool HoldsDataSet(const std::filesystem::path& root);
// The data set folder a user most likely meant on choosing `chosen`, a folder that holds none:
// its ZAVO_DS sub-folder (any letter case) when that holds one. Empty otherwise.
std::optional<std::filesystem::path> DataSetFolderIn(const std::filesystem::path& chosen);

// The paths of a data set rooted at `root` (a workspace or a ZAVO_DS folder).
class DataSetLayout {
 public:
  explicit DataSetLayout(std::filesystem::path root) : root_(std::move(root)) {}
  const std::filesystem::path& root() const { return root_; }

  std::filesystem::path cdata() const { return root_ / kCdataFolder; }
  std::filesystem::path mdata() const { return root_ / kMdataFolder; }
  std::filesystem::path system() const { return root_ / kSystemFolder; }
  std::filesystem::path check_list() const { return root_ / kCheckListFolder; }
  std::filesystem::path data_full() const { return root_ / kDataFullFolder; }

  // CDATA: event tables.
  std::filesystem::path event_header() const { return cdata() / kEventHeaderFile; }
  std::filesystem::path genres() const { return cdata() / "L_Genre.dat"; }
  std::filesystem::path maps() const { return cdata() / "L_Map.dat"; }
  std::filesystem::path areas() const { return cdata() / "L_Area.dat"; }
  std::filesystem::path full_width_areas() const { return cdata() / "L_KArea.dat"; }
  std::filesystem::path days() const { return cdata() / "L_Date.dat"; }
  std::filesystem::path day_index() const { return cdata() / kDayIndexFile; }
  std::filesystem::path map_max() const { return cdata() / "MLMax.dat"; }
  // CDATA: hall tables.
  std::filesystem::path blocks() const { return cdata() / "L_Block.dat"; }
  std::filesystem::path map_positions() const { return cdata() / "L_MapPos.dat"; }
  std::filesystem::path block_areas() const { return cdata() / "I_Block.dat"; }
  // CDATA: per-day tables.
  static std::string CircleListName(int day);  // C_List<d>.dat
  static std::string DayMapPrefix(int day);    // M<d>, before "Map<k>.dat"
  std::filesystem::path pages(int day) const;        // L_Page<d>.dat
  std::filesystem::path block_tops(int day) const;   // L_BlkTop<d>.dat
  std::filesystem::path circle_info(int day) const;  // C_Info<d>.dat
  // DataFull, CheckList, SYSTEM, page folders.
  std::filesystem::path full_circles(int day) const;  // DataFull/D_Full<d>.dat
  std::filesystem::path checks(int day) const { return check_list() / CheckFileName(day); }
  std::filesystem::path memos(int day) const { return check_list() / MemoFileName(day); }
  std::filesystem::path purchases(int day) const { return check_list() / PurchaseFileName(day); }
  std::filesystem::path config() const { return system() / "Config.dat"; }
  std::filesystem::path image_sizes() const { return system() / "GrpSize.dat"; }
  std::filesystem::path palette() const { return system() / "Palette.pal"; }
  std::filesystem::path page_folder(int day) const;  // PDATA<d>

 private:
  std::filesystem::path root_;
};

}  // namespace dw
