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

std::string DisplayPath(const std::filesystem::path& path) {
  return path.string();
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
