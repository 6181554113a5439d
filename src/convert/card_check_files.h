// The visitor's check data on the card (ZAVO_DS/CheckList): which files hold it, and whether a
// new data set may keep them.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/check_backup.h"
#include "dataset/layout.h"

namespace dw {

// Whether two data sets are the same event with the same circles per day: equal CDATA/DEF.dat and
// CDATA/L_DayTop.dat (both present).
bool SameEventLayout(const std::filesystem::path& card_set, const std::filesystem::path& new_set);

struct CheckFilePlan {
  // Upper-cased "CHECKLIST/<NAME>" of the card files that stay as they are: the new set does not
  // send its empty file for them.
  std::set<std::string> keep;
  // Names in the card's CheckList of the files with visitor data that the new set replaces; they
  // are copied into a backup folder first.
  std::vector<std::string> backup;
  std::string card_folder_name = kCheckListFolder;  // the name as it stands on the card
};

// Reads the card's ZAVO_DS/CheckList (`card_set` is ZAVO_DS) against the new set in `workspace`.
// Without `may_keep` (the card's set is not known to be one event's) nothing is kept.
CheckFilePlan PlanCheckFiles(const std::filesystem::path& card_set, const std::filesystem::path& workspace,
                             bool may_keep = true);

}  // namespace dw
