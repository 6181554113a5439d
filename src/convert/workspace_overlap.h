// The destination must lie apart from the workspace: copying a folder into itself nests ZAVO_DS
// without end.
#pragma once

#include <filesystem>

namespace dw {

// Throws dw::Error naming both when `destination` is the workspace, lies inside it or contains
// it (compared after resolving links and "..").
void CheckDestinationApartFromWorkspace(const std::filesystem::path& destination,
                                        const std::filesystem::path& workspace);

}  // namespace dw
