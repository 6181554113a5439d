// Whole files by path. Each returns 0 or the errno value of the failure (on Windows the system's
// error mapped to the value Linux gives for the same fault).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dw::platform {

// Creates or truncates `path` and writes `bytes`; with `flush`, waits until they are on the disk,
// else starts writing them to the disk without waiting where the system can. Where the file system
// keeps holes, whole blocks of zeros may be left as holes: they read as zeros and take no disk.
int WriteWholeFile(const std::filesystem::path& path, std::string_view bytes, bool flush);

// Renames `from` to `to`, replacing `to` when it exists.
int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

int RemoveFile(const std::filesystem::path& path);

// Reads the whole file into `out` (replacing its contents).
int ReadWholeFileInto(const std::filesystem::path& path, std::string& out);

// Whether the file can be opened for reading.
int CheckReadable(const std::filesystem::path& path);

}  // namespace dw::platform
