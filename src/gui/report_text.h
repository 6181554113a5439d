// The check-list jobs' closing box and the import confirmation's note on the data it replaces.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

namespace dw {
struct ExistingCheckData;
}

namespace dw::ui {

// "作業が終了しました。" then the job's report lines; CR LF between lines.
QString ClosingText(const std::vector<std::string>& report);

// How many checks (and visits) and memos the output folder holds, and that they are kept in a
// backup below `backup_root` before the import replaces them.
QString ExistingDataText(const dw::ExistingCheckData& data, const std::filesystem::path& backup_root);

}  // namespace dw::ui
