// A catalog folder the user may not read (POSIX permissions; the tests may run as root).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "convert/catalog_job.h"
#include "support/test_support.h"
#include "support/thrown.h"

namespace dw {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

// The message `look_up` throws when run as a user without the right to read what it reads: as
// "nobody" in a child process when the tests run as root (root reads every folder).
std::string MessageWithoutPermission(const std::function<void()>& look_up) {
  if (::geteuid() != 0) return test::Thrown(look_up).message;
  int out[2];
  if (::pipe(out) != 0) return "(no pipe)";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(out[0]);
    std::string message = "(could not drop privileges)";
    if (::setgid(65534) == 0 && ::setuid(65534) == 0) message = test::Thrown(look_up).message;
    if (::write(out[1], message.data(), message.size()) < 0) _exit(1);
    _exit(0);
  }
  ::close(out[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) message.append(buffer, static_cast<size_t>(n));
  ::close(out[0]);
  ::waitpid(child, nullptr, 0);
  return message;
}

TEST(UnreadableCatalog, AnUnreadableCatalogFolderIsReportedAsSuchNotAsMissing) {
  TempDir dir;
  const fs::path catalog = dir / "cat", cdata = catalog / "CDATA";
  test::WriteFile(cdata / "C77DEF.TXT", "");
  const auto look_up = [&] { FindDefinitionFile(catalog); };
  fs::permissions(cdata, fs::perms::none);
  EXPECT_EQ(MessageWithoutPermission(look_up), "ファイルへのアクセスが拒否されました (" + cdata.string() + ")");
  fs::permissions(cdata, fs::perms::owner_all);
  fs::permissions(catalog, fs::perms::none);
  EXPECT_EQ(MessageWithoutPermission(look_up), "ファイルへのアクセスが拒否されました (" + catalog.string() + ")");
  fs::permissions(catalog, fs::perms::owner_all);
  // A catalog without CDATA is still the orderly "not found", not an error.
  fs::remove_all(cdata);
  EXPECT_TRUE(FindDefinitionFile(catalog).empty());
}

}  // namespace
}  // namespace dw
