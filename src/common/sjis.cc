#include "common/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "common/messages.h"

namespace dw {
namespace {

// iconv descriptor owned for one conversion.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw InternalError(std::string("iconv: ") + from + " から " + to + " への変換がありません");
    }
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts as much as it can; returns false and leaves `in` at the offending byte on
  // EILSEQ/EINVAL.
  bool Convert(std::string_view& in, std::string& out) {
    char buffer[1024];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      size_t src_left = in.size();
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, dst - buffer);
      in.remove_prefix(in.size() - src_left);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view in) {
  Iconv cd("UTF-8", "CP932");
  std::string out;
  out.reserve(in.size() * 3 / 2);
  while (!cd.Convert(in, out)) {
    out += "\xEF\xBF\xBD";  // U+FFFD
    in.remove_prefix(1);
  }
  return out;
}

std::string Utf8ToCp932(std::string_view in) {
  Iconv cd("CP932", "UTF-8");
  std::string out;
  out.reserve(in.size());
  if (!cd.Convert(in, out)) {
    throw NotRepresentableInShiftJis(in);
  }
  return out;
}

}  // namespace dw
