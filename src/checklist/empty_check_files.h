// The empty check, memo and purchase files the catalog conversion writes for every day.
#pragma once

#include <cstdint>
#include <filesystem>

namespace dw {

void WriteEmptyCheckFile(const std::filesystem::path& check_file);
void WriteEmptyMemoFile(const std::filesystem::path& memo_file, uint32_t circle_count);
void WriteEmptyPurchaseFile(const std::filesystem::path& purchase_file, uint32_t circle_count);

}  // namespace dw
