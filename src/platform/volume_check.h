// The command that checks and repairs the file system holding a folder, for the user to run when
// a card shows damage: fsck.fat on the mount's device, chkdsk on the drive.
#pragma once

#include <filesystem>
#include <string>

namespace dw::platform {

std::string VolumeCheckCommand(const std::filesystem::path& folder);

}  // namespace dw::platform
