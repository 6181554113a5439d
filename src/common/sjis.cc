#include "common/sjis.h"

#include "common/messages.h"
#include "platform/cp932.h"

namespace dw {

std::string Cp932ToUtf8(std::string_view in) { return platform::DecodeCp932(in); }

std::string Utf8ToCp932(std::string_view in) {
  std::string out;
  if (!platform::EncodeCp932(in, out)) throw NotRepresentableInShiftJis(in);
  return out;
}

}  // namespace dw
