#include "catalog/sjis_search.h"

#include "common/sjis.h"

namespace dw {

bool ContainsSjisText(std::string_view haystack, std::string_view needle) {
  const size_t n = needle.size();
  if (n == 0) return false;
  for (size_t i = 0; i + n <= haystack.size(); i += SjisCharLength(haystack, i)) {
    if (haystack.compare(i, n, needle) != 0) continue;
    size_t end = i;
    while (end < i + n) end += SjisCharLength(haystack, end);
    if (end == i + n) return true;
  }
  return false;
}

}  // namespace dw
