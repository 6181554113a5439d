#include "common/error.h"

#include <cerrno>

#include "common/sjis.h"

namespace dw {

Error NotAnInteger(std::string_view cell_sjis) {
  return Error("'" + Cp932ToUtf8(cell_sjis) + "' は整数ではありません", ErrorKind::kInvalidInput);
}

Error IndexOutOfRange(long long index) {
  return Error("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")", ErrorKind::kInvalidInput);
}

std::string SystemReason(int e) {
  switch (e) {
    case ENOENT:
      return "ファイルが見つかりません";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EISDIR:
    case ELOOP:
      return "ファイル名の指定が間違っています";
    case EMFILE:
    case ENFILE:
      return "オープンしたファイルが多すぎます";
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return "ファイルへのアクセスが拒否されました";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "ディスクがいっぱいです";
    default:
      return "I/O エラー (" + std::to_string(e) + ")";
  }
}

namespace {

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size() || (len == 2 && b < 0xC2)) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += len;
  }
  return true;
}

}  // namespace

// Each component that is not UTF-8 (a catalog or card folder named on a Windows disc) is shown
// converted from CP932.
std::string DisplayPath(const std::filesystem::path& path) {
  const std::string& raw = path.native();
  if (IsUtf8(raw)) return raw;
  std::string out;
  size_t start = 0;
  while (start <= raw.size()) {
    size_t slash = raw.find('/', start);
    if (slash == std::string::npos) slash = raw.size();
    const std::string_view part(raw.data() + start, slash - start);
    out += IsUtf8(part) ? std::string(part) : Cp932ToUtf8(part);
    if (slash < raw.size()) out += '/';
    start = slash + 1;
  }
  return out;
}

Error CannotCreate(const std::filesystem::path& path, int e) {
  return Error("ファイル \"" + DisplayPath(path) + "\" を作成できません。" + SystemReason(e), ErrorKind::kIo, e, path);
}

Error CannotOpen(const std::filesystem::path& path, int e) {
  return Error("ファイル \"" + DisplayPath(path) + "\" は開けません。" + SystemReason(e), ErrorKind::kIo, e, path);
}

Error TextFileError(const std::filesystem::path& path, int e) {
  return Error(SystemReason(e) + " (" + DisplayPath(path) + ")", ErrorKind::kIo, e, path);
}

}  // namespace dw
