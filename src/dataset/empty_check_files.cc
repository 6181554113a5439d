#include "dataset/empty_check_files.h"

#include "dataset/check_files.h"
#include "common/atomic_file.h"

namespace dw {

void WriteEmptyCheckFile(const std::filesystem::path& check_file) {
  AtomicSave(check_file, BuildCheckFile({}, kEmptyCheckFileSlots));
}

// The circle count is stored in 16 bits; the slots follow the stored count.
void WriteEmptyMemoFile(const std::filesystem::path& memo_file, uint32_t circle_count) {
  AtomicSave(memo_file, MemoFileBuilder(static_cast<uint16_t>(circle_count)).bytes());
}

void WriteEmptyPurchaseFile(const std::filesystem::path& purchase_file, uint32_t circle_count) {
  AtomicSave(purchase_file, BuildEmptyPurchaseFile(static_cast<uint16_t>(circle_count)));
}

}  // namespace dw
