// One run at a time per folder: an exclusive, non-blocking lock held on the folder itself, so no
// lock file is ever written (nor copied onto the card).
#pragma once

#include <filesystem>
#include <string>

namespace dw {

class FolderLock {
 public:
  // Locks the folder `dir` (opened on its own). `role` names it in the message ("作業フォルダ").
  // Throws ErrorKind::kBusy when another run holds it.
  FolderLock(const std::filesystem::path& dir, const std::string& role);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace dw
