// The empty check, memo and purchase files the catalog conversion writes for every day.
#pragma once

#include <cstdint>
#include <filesystem>

namespace dw {

// Used-slot count 0 and 10240 unused slots: 40962 bytes.
void WriteEmptyCheckFile(const std::filesystem::path& check_file);
// `circle_count` is the number of rows of the day's circle table (kept modulo 65536).
void WriteEmptyMemoFile(const std::filesystem::path& memo_file, uint32_t circle_count);
void WriteEmptyPurchaseFile(const std::filesystem::path& purchase_file, uint32_t circle_count);

}  // namespace dw
