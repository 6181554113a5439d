#include "platform/cp932.h"
#include "platform/win32_errors.h"

namespace dw::platform {

namespace {

constexpr UINT kCp932 = 932;
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The UTF-16 of one character of `in` at `at` (one byte, or a lead byte and its trail); empty
// when the bytes form no character.
std::wstring DecodeOne(std::string_view in, size_t at, size_t& length) {
  const unsigned char b = static_cast<unsigned char>(in[at]);
  length = IsDBCSLeadByteEx(kCp932, b) && at + 1 < in.size() ? 2 : 1;
  if (b == 0x80) return {};  // the code page maps it; Shift-JIS has no such character
  wchar_t wide[4];
  const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, in.data() + at, static_cast<int>(length), wide, 4);
  if (n <= 0) return {};
  return std::wstring(wide, static_cast<size_t>(n));
}

}  // namespace

std::string DecodeCp932(std::string_view in) {
  std::string out;
  out.reserve(in.size() * 3 / 2);
  std::wstring run;
  auto flush = [&] {
    out += Utf8FromWide(run);
    run.clear();
  };
  for (size_t at = 0; at < in.size();) {
    const unsigned char b = static_cast<unsigned char>(in[at]);
    if (b < 0x80) {
      run += static_cast<wchar_t>(b);
      ++at;
      continue;
    }
    size_t length = 1;
    const std::wstring one = DecodeOne(in, at, length);
    if (one.empty()) {
      flush();
      out += kReplacement;
      ++at;  // skip the offending byte only, as the trail byte may start a character
      continue;
    }
    run += one;
    at += length;
  }
  flush();
  return out;
}

bool EncodeCp932(std::string_view utf8, std::string& out) {
  out.clear();
  if (utf8.empty()) return true;
  const int wide_length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (wide_length <= 0) return false;
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      wide_length);
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wide_length, nullptr, 0, nullptr,
                                    &used_default);
  if (n <= 0 || used_default) return false;
  out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), wide_length, out.data(), n, nullptr, &used_default);
  return !used_default;
}

}  // namespace dw::platform
