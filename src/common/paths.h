// Finding catalog files regardless of ASCII case, and the program's own folder.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// ASCII-only upper-casing; other bytes stay as they are.
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

struct FolderEntry {
  std::string name;
  bool is_folder = false;
};

// The entries of `dir`, in the order the system lists them. A folder that does not exist (or is a
// file) has none; one that cannot be listed (no permission, I/O error) throws dw::Error with the
// system's reason and the path, so that a folder the user may not read is never taken for a
// missing or empty one.
std::vector<FolderEntry> ListFolder(const std::filesystem::path& dir);

// The one case-insensitive look-up rule: among `matches` (entry names equal to `name` ignoring
// ASCII case, in any order), the exact name when it is there, otherwise the first in name order.
// Empty when there are no matches.
std::optional<std::string> ChooseIgnoringCase(std::string_view name, const std::vector<std::string>& matches);

// The entry of `dir` named `name`: the exact name when it exists, otherwise the first entry (in
// name order) equal to it regardless of ASCII case. Catalogs copied from a Windows disc sometimes
// carry lower-case names. Throws as ListFolder does when `dir` cannot be listed.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& dir,
                                                      std::string_view name);

// Resolves root/a/b/... one component at a time with FindIgnoringCase. Components that do not
// exist are appended as given, so the result names the missing file in messages.
std::filesystem::path ResolveIgnoringCase(const std::filesystem::path& root,
                                          std::initializer_list<std::string_view> components);

// Matches `name` against a wildcard pattern where '?' stands for one UTF-8 character and '*' for
// any run of characters, ignoring ASCII case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The folder that holds the running executable.
std::filesystem::path ExecutableDir();

}  // namespace dw
