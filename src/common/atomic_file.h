// Whole-file reads and atomic whole-file writes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dw {

// Suffix of the temporary file an atomic save writes beside its target. A killed run can leave
// one behind; the workspace copy never sends such files and a run removes stale ones first.
inline constexpr std::string_view kPartialSuffix = ".partial";

bool IsPartialFile(const std::filesystem::path& path);

// Writes `bytes` to "<path>.partial", flushes it and renames it over `path`, so `path` holds
// either its old content or the complete new content. Throws CannotCreate on failure and leaves
// no temporary file behind.
void AtomicSave(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; throws CannotOpen (naming the path and the reason) on failure.
std::string ReadWholeFile(const std::filesystem::path& path);

// Removes every "*.partial" file below `root` (recursively); returns how many were removed.
int RemoveStalePartials(const std::filesystem::path& root);

// Creates a folder and its missing parents; does nothing when it exists. Throws CannotCreate
// when it cannot be made (also when a file stands where a folder should be).
void ForceDirectories(const std::filesystem::path& dir);

}  // namespace dw
