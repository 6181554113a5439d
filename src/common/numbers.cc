#include "common/numbers.h"

#include <limits>

#include "common/messages.h"

namespace dw {

std::string_view RightTrim(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= 0x20) --n;
  return text.substr(0, n);
}

int32_t ParseInt(std::string_view cell) {
  std::string_view s = RightTrim(cell);
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) throw NotAnInteger(cell);
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') throw NotAnInteger(cell);
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) throw NotAnInteger(cell);
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) throw NotAnInteger(cell);
  return static_cast<int32_t>(value);
}

std::string NameField(std::string_view text, size_t width) {
  std::string field(width, '\0');
  if (width == 0) return field;
  field.replace(0, std::min(text.size(), width - 1), text.substr(0, width - 1));
  return field;
}

}  // namespace dw
