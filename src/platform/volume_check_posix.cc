#include "platform/volume_check.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace dw::platform {

std::string VolumeCheckCommand(const std::filesystem::path& folder_path) {
  // The mount holding the folder: the longest mount point that is a prefix of its path.
  std::error_code ec;
  const std::string folder = std::filesystem::weakly_canonical(folder_path, ec).string();
  std::ifstream mounts("/proc/self/mountinfo");
  std::string line, point, device = "<device>";
  for (size_t best = 0; std::getline(mounts, line);) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mount_point, field;
    fields >> id >> parent >> numbers >> root >> mount_point;
    while (fields >> field && field != "-") {
    }
    std::string type, source;
    fields >> type >> source;
    const bool inside = folder == mount_point || folder.rfind(mount_point == "/" ? "/" : mount_point + "/", 0) == 0;
    if (inside && mount_point.size() >= best) {
      best = mount_point.size();
      point = mount_point;
      device = source;
    }
  }
  return "umount '" + point + "' && fsck.fat -a '" + device + "'";
}

}  // namespace dw::platform
