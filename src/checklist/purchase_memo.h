// The memo the export writes for a checked circle: its visit and purchases as text lines, each
// ended by the two characters backslash and n.
#pragma once

#include <cstdint>
#include <string>

#include "dataset/check_files.h"

namespace dw {

// Shift-JIS name of a purchase kind: 新刊, 既刊, ... ; a full-width space for 0, 8 and 9, empty for
// 10, and the code in decimal above 10.
std::string PurchaseKindName(uint8_t kind);

// "訪問済\n" when the visited flag is set, then one line per non-empty slot of `purchases`
// ("<kind>:<price>円×<quantity>＝<amount>円\n") and, when the amounts add up to more than 0,
// "合計：<total>円\n". `purchases` may be null (no purchase record). Shift-JIS.
std::string CheckMemo(uint8_t flags, const PurchaseRecord* purchases);

}  // namespace dw
