// File operations below an open folder descriptor (the card), with relative '/'-separated paths.
// They return 0 or the errno of the failure, so the caller can word the error for the card.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace dw {

// Creates the folder `relative` and its missing parents below `dirfd`.
int MakeFoldersAt(int dirfd, const std::string& relative);

struct CopyFailure {
  int errno_value = 0;      // 0: copied
  bool reading = false;     // the source could not be read (else: the target could not be written)
};

// Copies the regular file `source` into `relative` below `dirfd` (created or truncated), in
// large chunks (copy_file_range where the kernel offers it, else 256 KiB reads and writes), calling
// `tick` between chunks. A failed copy removes the partial target.
CopyFailure CopyFileAt(const std::filesystem::path& source, int dirfd, const std::string& relative,
                       const std::function<void()>& tick);
// The same from one file below `dirfd` to another below it.
CopyFailure CopyFileWithinAt(int dirfd, const std::string& from, const std::string& to,
                             const std::function<void()>& tick);

// The stretches of data [start, end) of the open file `fd` of `size` bytes, in order; what lies
// between them are holes, which read as zeros. One stretch of the whole file where the file system
// keeps no holes.
std::vector<std::pair<uint64_t, uint64_t>> DataStretches(int fd, uint64_t size);
// Whether `stretches` leave a hole in a file of `size` bytes.
bool HasHoles(const std::vector<std::pair<uint64_t, uint64_t>>& stretches, uint64_t size);

// Removes `relative` below `dirfd` with everything in it; ignores failures.
void RemoveTreeAt(int dirfd, const std::string& relative);

// Kind of the entry `relative`: 'd' folder, 'f' anything else, 0 absent, '?' cannot tell.
char EntryKindAt(int dirfd, const std::string& relative);

// Size of the regular file `relative`, or -1 when there is none.
long long FileSizeAt(int dirfd, const std::string& relative);

// Reads the whole file `relative` below `dirfd` (or the plain path `file`), handing each chunk to
// `sink`. Fewer bytes than the file's size count as a read error (EIO); `size` receives the size.
// Holes are passed on as zeros without being read.
int ReadFileAt(int dirfd, const std::string& relative, const std::function<void(const char*, size_t)>& sink,
               long long* size);
int ReadFile(const std::filesystem::path& file, const std::function<void(const char*, size_t)>& sink,
             long long* size);

// Creates or truncates `relative` and writes `bytes` into it, then flushes it to the medium.
int WriteFileAt(int dirfd, const std::string& relative, const std::string& bytes);

// Renames `from` to `to`, both below `dirfd`; a file at `to` is replaced.
int RenameAt(int dirfd, const std::string& from, const std::string& to);

// Removes the file `relative`; or the empty folder `relative`.
int RemoveFileAt(int dirfd, const std::string& relative);
int RemoveEmptyFolderAt(int dirfd, const std::string& relative);

// Names in the folder `relative` (without "." and ".."), in no particular order.
int ListFolderAt(int dirfd, const std::string& relative, std::vector<std::string>& names);

// Flushes everything written on the file system of `dirfd` to the medium.
int FlushAll(int dirfd);

}  // namespace dw
