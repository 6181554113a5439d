#include "images/catalog_folder.h"

#include <algorithm>

#include "common/paths.h"

namespace dw {
namespace fs = std::filesystem;

CatalogFolder::CatalogFolder(const fs::path& dir) : dir_(dir) {
  for (const FolderEntry& entry : ListFolder(dir)) {
    auto& names = entry.is_folder ? non_files_by_upper_name_ : by_upper_name_;
    names[AsciiUpper(entry.name)].push_back(entry.name);
  }
}

std::optional<fs::path> CatalogFolder::Find(std::string_view name) const {
  auto it = by_upper_name_.find(AsciiUpper(name));
  if (it == by_upper_name_.end()) return std::nullopt;
  return dir_ / *ChooseIgnoringCase(name, it->second);
}

std::optional<fs::path> CatalogFolder::FindNonFile(std::string_view name) const {
  auto it = non_files_by_upper_name_.find(AsciiUpper(name));
  if (it == non_files_by_upper_name_.end()) return std::nullopt;
  return dir_ / *ChooseIgnoringCase(name, it->second);
}

fs::path CatalogFolder::PathOf(std::string_view name) const {
  if (auto found = Find(name)) return *found;
  return dir_ / std::string(name);
}

}  // namespace dw
