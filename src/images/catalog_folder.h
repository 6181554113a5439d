// One catalog folder listed once, its files found regardless of ASCII case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dw {

// The look-up rule of ChooseIgnoringCase (the exact name first, otherwise the first name in name order
// equal to it ignoring ASCII case), for files only, without a directory scan per look-up: the
// circle-cut phase tests 1800 names.
class CatalogFolder {
 public:
  // A folder that does not exist holds nothing; one that cannot be listed throws dw::Error.
  explicit CatalogFolder(const std::filesystem::path& dir);

  const std::filesystem::path& dir() const { return dir_; }
  std::optional<std::filesystem::path> Find(std::string_view name) const;
  // The entry named `name` regardless of ASCII case when it is there but is no file (a folder).
  std::optional<std::filesystem::path> FindNonFile(std::string_view name) const;
  // The found file, or dir/name (so that an error names the missing file).
  std::filesystem::path PathOf(std::string_view name) const;

 private:
  std::filesystem::path dir_;
  std::unordered_map<std::string, std::vector<std::string>> by_upper_name_;
  std::unordered_map<std::string, std::vector<std::string>> non_files_by_upper_name_;
};

}  // namespace dw
