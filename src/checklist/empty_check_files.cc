// Placeholder until the check file formats land.
#include "checklist/empty_check_files.h"

namespace dw {

void WriteEmptyCheckFile(const std::filesystem::path&) {}
void WriteEmptyMemoFile(const std::filesystem::path&, uint32_t) {}
void WriteEmptyPurchaseFile(const std::filesystem::path&, uint32_t) {}

}  // namespace dw
