#include "platform/volume_check.h"

#include <system_error>

#include "platform/utf8_path.h"

namespace dw::platform {

std::string VolumeCheckCommand(const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(folder, ec);
  const std::string drive = Utf8FromPath(full.root_name());
  return "chkdsk " + (drive.empty() ? std::string("<ドライブ>:") : drive) + " /f";
}

}  // namespace dw::platform
