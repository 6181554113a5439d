#include "e2e/test_card.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace dw::test {
namespace fs = std::filesystem;

namespace {

bool OnPath(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

bool IsMountPoint(const fs::path& dir) {
  std::ifstream mounts("/proc/mounts");
  std::string device, point, rest;
  while (mounts >> device >> point && std::getline(mounts, rest)) {
    if (point == dir.string()) return true;
  }
  return false;
}

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

TestCard::TestCard(Kind kind, const fs::path& dir, int megabytes) : kind_(kind), root_(dir / "card") {
  fs::create_directories(root_);
  if (::geteuid() != 0) {
    skip_reason_ = "mounting a card needs root";
    return;
  }
  if (kind_ == Kind::kTmpfs) {
    if (!Run("mount -t tmpfs -o size=" + std::to_string(megabytes) + "m tmpfs " + Quote(root_.string()))) {
      skip_reason_ = "mount -t tmpfs is not permitted here";
      return;
    }
    mounted_ = true;
    return;
  }
  if (!fs::exists("/dev/fuse") || !OnPath("fusefat") || !OnPath("mkfs.fat") || !OnPath("fusermount")) {
    skip_reason_ = "no FUSE FAT mount here (/dev/fuse, fusefat, mkfs.fat, fusermount; scripts/install-deps.sh)";
    return;
  }
  image_ = dir / "card.img";
  { std::ofstream(image_, std::ios::binary); }
  fs::resize_file(image_, static_cast<uintmax_t>(megabytes) << 20);
  if (!Run("mkfs.fat -F 32 -s 1 -S 512 " + Quote(image_.string()))) {
    skip_reason_ = "mkfs.fat failed";
    return;
  }
  if (!MountFat()) skip_reason_ = "fusefat could not mount the image";
}

TestCard::TestCard(const fs::path& dir, const fs::path& image, bool writable)
    : kind_(Kind::kFat32), root_(dir / "card"), image_(image), writable_(writable) {
  fs::create_directories(root_);
  if (::geteuid() != 0 || !fs::exists("/dev/fuse") || !OnPath("fusefat") || !OnPath("fusermount")) {
    skip_reason_ = "no FUSE FAT mount here (root, /dev/fuse, fusefat, fusermount; scripts/install-deps.sh)";
  } else if (!MountFat()) {
    skip_reason_ = "fusefat could not mount the image";
  }
}

bool TestCard::MountFat(const std::vector<std::string>& driver_env) {
  driver_ = ::fork();
  if (driver_ == 0) {
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    for (const std::string& assignment : driver_env) ::putenv(const_cast<char*>(assignment.c_str()));
    ::execlp("fusefat", "fusefat", "-f", "-o", writable_ ? "rw+,big_writes" : "ro", image_.c_str(), root_.c_str(),
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  for (int i = 0; i < 500; ++i) {
    if (IsMountPoint(root_)) return mounted_ = true;
    int status = 0;
    if (::waitpid(driver_, &status, WNOHANG) == driver_) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void TestCard::Pull() {
  if (!mounted_) return;
  Run(kind_ == Kind::kFat32 ? "fusermount -uz " + Quote(root_.string()) : "umount -l " + Quote(root_.string()));
}

void TestCard::Unmount() {
  if (mounted_ && IsMountPoint(root_)) Pull();
  mounted_ = false;
  if (driver_ > 0) {
    // The driver ends once nothing holds the card open; a stuck one is ended after 5 s.
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(driver_, &status, WNOHANG) != driver_; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (i == 499) {
        ::kill(driver_, SIGKILL);
        ::waitpid(driver_, &status, 0);
      }
    }
    driver_ = -1;
  }
}

bool TestCard::Remount(const std::vector<std::string>& driver_env) {
  Unmount();
  return kind_ == Kind::kFat32 && MountFat(driver_env);
}

bool TestCard::Fill() {
  int fd = ::open((root_ / "filler.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  std::vector<char> block(1 << 16, 'F');
  long long written = 0;
  for (;;) {
    ssize_t n = ::write(fd, block.data(), block.size());
    if (n <= 0) break;
    written += n;
  }
  // The last clusters: small writes until nothing more goes in.
  while (::write(fd, block.data(), 512) > 0) written += 512;
  ::close(fd);
  return written > 0;
}

TestCard::~TestCard() { Unmount(); }

}  // namespace dw::test
