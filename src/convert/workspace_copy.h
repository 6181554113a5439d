// Copying the workspace tree into <destination>/ZAVO_DS/.
#pragma once

#include <filesystem>

namespace dw {

// Copies every file and folder below `workspace` into `destination` (created with its parents):
// same-named files are replaced, other files stay, missing folders are created. Each file is
// written atomically; temporary ".partial" files are never sent. Throws dw::Error naming the
// file or folder that could not be copied.
void CopyWorkspace(const std::filesystem::path& workspace, const std::filesystem::path& destination);

}  // namespace dw
