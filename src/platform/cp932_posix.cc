#include <iconv.h>

#include <cerrno>

#include "platform/cp932.h"

namespace dw::platform {
namespace {

// iconv descriptor owned for one conversion.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

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

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

std::string DecodeCp932(std::string_view in) {
  Iconv cd("UTF-8", "CP932");
  std::string out;
  if (!cd.ok()) {
    for (size_t i = 0; i < in.size(); ++i) out += kReplacement;
    return out;
  }
  out.reserve(in.size() * 3 / 2);
  while (!cd.Convert(in, out)) {
    out += kReplacement;
    in.remove_prefix(1);
  }
  return out;
}

bool EncodeCp932(std::string_view utf8, std::string& out) {
  out.clear();
  Iconv cd("CP932", "UTF-8");
  return cd.ok() && cd.Convert(utf8, out);
}

}  // namespace dw::platform
