#include "convert/card_check_files.h"

#include <algorithm>
#include <system_error>

#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/paths.h"
#include "dataset/layout.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

bool SameBytes(const fs::path& a, const fs::path& b) {
  try {
    return ReadWholeFile(a) == ReadWholeFile(b);
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

bool SameEventLayout(const fs::path& card_set, const fs::path& new_set) {
  for (const char* table : {kEventHeaderFile, kDayIndexFile}) {
    if (!SameBytes(ResolveIgnoringCase(card_set, {kCdataFolder, table}), new_set / kCdataFolder / table)) return false;
  }
  return true;
}

CheckFilePlan PlanCheckFiles(const fs::path& card_set, const fs::path& workspace, bool may_keep) {
  CheckFilePlan plan;
  const std::optional<fs::path> folder = FindIgnoringCase(card_set, kCheckListFolder);
  std::error_code ec;
  if (!folder || !fs::is_directory(*folder, ec)) return plan;
  plan.card_folder_name = folder->filename().string();
  const bool same_event = may_keep && SameEventLayout(card_set, workspace);
  std::vector<fs::path> files;
  for (const FolderEntry& entry : ListFolder(*folder)) {
    if (!entry.is_folder && IsCheckFileName(entry.name)) files.push_back(*folder / entry.name);
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    bool holds_data = true;  // an unreadable file is treated as holding data
    try {
      holds_data = HoldsVisitorData(name, ReadWholeFile(file));
    } catch (const Error&) {
    }
    if (!holds_data) continue;
    if (same_event) {
      plan.keep.insert(AsciiUpper("CheckList/" + name));
    } else {
      plan.backup.push_back(name);
    }
  }
  return plan;
}

}  // namespace dw
