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

// Flush policy. A save writes "<path>.partial" and renames it over `path`; the rename is atomic,
// so a run that is killed at any moment leaves `path` with its old content or the complete new
// content, and the data written is in the system's cache for every later reader. That is all the
// workspace needs: it is rebuilt by every run, so AtomicSave does not flush file by file (one
// fsync per file cost about a sixth of a whole conversion). Files whose only copy is a memory card
// or the user's own file must be on the medium when the job reports success: a job flushes those
// once when it is done (the copy into ZAVO_DS), or saves them with DurableSave.

// Writes `bytes` to "<path>.partial" and renames it over `path`, so `path` holds either its old
// content or the complete new content. Throws CannotCreate on failure and leaves no temporary
// file behind.
void AtomicSave(const std::filesystem::path& path, std::string_view bytes);

// AtomicSave that also flushes the file to its medium before the rename.
void DurableSave(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; throws CannotOpen (naming the path and the reason) on failure.
std::string ReadWholeFile(const std::filesystem::path& path);
// The same into `out`, whose memory is reused when it is large enough.
void ReadWholeFileInto(const std::filesystem::path& path, std::string& out);

// Removes every "*.partial" file below `root` (recursively); returns how many were removed.
int RemoveStalePartials(const std::filesystem::path& root);

// Creates a folder and its missing parents; does nothing when it exists. Throws CannotCreate
// when it cannot be made (also when a file stands where a folder should be).
void ForceDirectories(const std::filesystem::path& dir);

}  // namespace dw
