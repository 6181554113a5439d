#include "checklist/purchase_memo.h"

#include <array>

#include "checklist/checklist_csv.h"
#include "common/sjis.h"

namespace dw {

namespace {

// The Shift-JIS texts, converted once.
struct MemoTexts {
  std::array<std::string, 11> kinds;
  std::string visited, yen, times, equals, total;

  MemoTexts() {
    const char* names[] = {"　", "新刊", "既刊", "委託", "グッズ", "その他", "新刊無", "完売", "　", "　", ""};
    for (size_t k = 0; k < kinds.size(); ++k) kinds[k] = Utf8ToCp932(names[k]);
    visited = Utf8ToCp932("訪問済");
    yen = Utf8ToCp932("円");
    times = Utf8ToCp932("×");
    equals = Utf8ToCp932("＝");
    total = Utf8ToCp932("合計：");
  }
};

const MemoTexts& Texts() {
  static const MemoTexts texts;
  return texts;
}

}  // namespace

std::string PurchaseKindName(uint8_t kind) {
  return kind < Texts().kinds.size() ? Texts().kinds[kind] : std::to_string(kind);
}

std::string CheckMemo(uint8_t flags, const PurchaseRecord* purchases) {
  const MemoTexts& t = Texts();
  std::string memo;
  if (flags & kVisitedFlag) memo += t.visited + std::string(kCsvMemoLineBreak);
  if (purchases == nullptr) return memo;
  long long total = 0;
  for (const PurchaseSlot& slot : *purchases) {
    if (slot.empty()) continue;
    const long long price = 10LL * slot.unit_price;
    const long long amount = price * slot.quantity;
    memo += PurchaseKindName(slot.kind) + ":" + std::to_string(price) + t.yen + t.times +
            std::to_string(slot.quantity) + t.equals + std::to_string(amount) + t.yen + std::string(kCsvMemoLineBreak);
    total += amount;
  }
  if (total != 0) memo += t.total + std::to_string(total) + t.yen + std::string(kCsvMemoLineBreak);
  return memo;
}

}  // namespace dw
