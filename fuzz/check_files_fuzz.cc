// The readers of the handheld's check, memo and purchase files over arbitrary bytes (the handheld
// rewrites them on its memory card), and the export's memo text built from what they return.
#include "dataset/check_files.h"
#include "checklist/purchase_memo.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dw;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const std::filesystem::path name = "CheckList/file.dat";

  fuzz::Guarded([&] {
    const std::vector<CheckSlot> slots = ParseCheckFile(bytes, name);
    fuzz::Require(2 + 4 * slots.size() <= bytes.size());
    for (const CheckSlot& s : slots) CheckMemo(s.flags, nullptr);
    // Written back with the file's own capacity, the used slots come back the same.
    if (slots.size() <= 0xFFFF) {
      const std::string again = BuildCheckFile(slots, (bytes.size() - 2) / 4);
      fuzz::Require(ParseCheckFile(again, name) == slots);
    }
  });

  fuzz::Guarded([&] {
    const std::vector<std::string> memos = ParseMemoFile(bytes, name);
    // A slot the handheld filled to its last byte has no NUL; the text stops at the slot end.
    for (const std::string& m : memos) fuzz::Require(m.size() <= 160);
  });

  fuzz::Guarded([&] {
    const PurchaseFile purchases(std::string(bytes), name);
    // Every record the count promises, and a few beyond it (those must be refused cleanly).
    const size_t n = purchases.circle_count();
    for (size_t i = 0; i < n + 3; ++i) {
      try {
        const PurchaseRecord record = purchases.Record(i);
        fuzz::Require(i < n || 2 + 40 * (i + 1) <= bytes.size());
        for (uint8_t flags : {0, 8}) CheckMemo(flags, &record);
      } catch (const Error&) {
        fuzz::Require(i >= n);
      }
    }
  });
  return 0;
}
