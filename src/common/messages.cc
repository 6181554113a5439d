#include "common/messages.h"

#include <cerrno>
#include <cstdio>

#include "common/sjis.h"
#include "platform/utf8_path.h"

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
  const std::string raw = Utf8FromPath(path);
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

Error MissingSection(std::string_view section) {
  return Error("定義ファイルに \"" + std::string(section) + "\" セクションがありません", ErrorKind::kInvalidInput);
}

Error BadBlockNameLength(long long row, std::string_view name_sjis) {
  return Error("ブロック名は 2 バイトでなければなりません (配置データ " + std::to_string(row) + " 件目: '" +
                   Cp932ToUtf8(name_sjis) + "')",
               ErrorKind::kInvalidInput);
}

Error BadSubstituteColour(int colour) {
  return Error("代わりのチェックカラーは 0 から 9 です (" + std::to_string(colour) + ")", ErrorKind::kInvalidInput);
}

Error AtLine(const Error& cause, const fs::path& file, size_t line) {
  return Error(std::string(cause.what()) + " (" + DisplayPath(file) + " " + std::to_string(line) + " 行目)",
               cause.kind(), cause.errno_value(), file);
}

Error Damaged(const fs::path& path, const std::string& what) {
  return Error("ファイル \"" + DisplayPath(path) + "\" が壊れています: " + what, ErrorKind::kDamaged, 0, path);
}

Error ShortTable(const fs::path& path, size_t count, size_t record_size, size_t file_size) {
  if (file_size < 2) return Damaged(path, "件数がありません (" + std::to_string(file_size) + " バイト)");
  return Damaged(path, std::to_string(count) + " 件の記録に " + std::to_string(2 + count * record_size) +
                           " バイト必要ですが " + std::to_string(file_size) + " バイトしかありません");
}

Error CannotReadImage(const fs::path& path, const std::string& reason) {
  return Error("画像ファイル \"" + DisplayPath(path) + "\" を読み込めません (" + reason + ")", ErrorKind::kDamaged, 0,
               path);
}

Error TooManyBlocks(size_t limit, size_t count, std::string_view name_sjis) {
  return Error("ブロック数が上限の " + std::to_string(limit) + " を超えています (" + std::to_string(count) +
                   " 番目のブロック '" + Cp932ToUtf8(name_sjis) + "')",
               ErrorKind::kLimit);
}

Error MapIndexTooLarge(unsigned limit, std::string_view block_sjis, unsigned map_index) {
  return Error("マップ番号が上限の " + std::to_string(limit) + " を超えています (ブロック '" + Cp932ToUtf8(block_sjis) +
                   "' のマップ番号 " + std::to_string(map_index) + ")",
               ErrorKind::kLimit);
}

Error TooManyRecords(const fs::path& path, size_t count, size_t limit) {
  return Error("ファイル \"" + DisplayPath(path) + "\" のレコード数 " + std::to_string(count) + " が上限の " +
                   std::to_string(limit) + " を超えています",
               ErrorKind::kLimit, 0, path);
}

Error CheckSlotsFull(size_t capacity, size_t used) {
  return Error("チェックファイルの枠 (" + std::to_string(capacity) + ") に " + std::to_string(used) + " 件は入りません",
               ErrorKind::kLimit);
}

Error ImageTooLarge(const fs::path& path, unsigned width, unsigned height, unsigned side_limit,
                    unsigned long long pixel_limit) {
  return Error("画像ファイル \"" + DisplayPath(path) + "\" は大きすぎます (" + std::to_string(width) + " x " +
                   std::to_string(height) + "、上限は一辺 " + std::to_string(side_limit) + " 画素、合計 " +
                   std::to_string(pixel_limit) + " 画素)",
               ErrorKind::kLimit, 0, path);
}

Error NotRepresentableInShiftJis(std::string_view utf8) {
  return Error("Shift-JIS に変換できない文字があります: " + std::string(utf8.substr(0, 16)), ErrorKind::kInvalidInput);
}

Error DayTableMissing(const fs::path& l_date) {
  return Error("日付データ \"" + DisplayPath(l_date) +
                   "\" が見つかりません。画像のみの変換の前に、一度「データと画像を変換」でデータ作成を行ってください。",
               ErrorKind::kIo, ENOENT, l_date);
}

Error DestinationUnusable(const fs::path& destination, int e) {
  const char* what = e == ENOTDIR ? "はフォルダではありません" : "が見つかりません";
  return Error("保存先フォルダ \"" + DisplayPath(destination) + "\" " + what + "。" + SystemReason(e), ErrorKind::kIo,
               e, destination);
}

Error DestinationOverlapsWorkspace(const fs::path& destination, const fs::path& workspace) {
  return Error("保存先フォルダ \"" + DisplayPath(destination) + "\" と作業フォルダ \"" + DisplayPath(workspace) +
                   "\" が重なっています。作業フォルダの外のフォルダを保存先に選んでください。",
               ErrorKind::kInvalidInput, 0, destination);
}

Error FolderBusy(const std::string& role, const fs::path& folder, int e) {
  return Error("別の変換が" + role + " \"" + DisplayPath(folder) + "\" を使っています。終わってから実行してください。",
               ErrorKind::kBusy, e, folder);
}

Error CardRemoved(const fs::path& card, const fs::path& file, int e, const std::string& kept) {
  return Error("カードが取り外されました (" + DisplayPath(card) + ")。" + kept, ErrorKind::kCardRemoved, e, file);
}

Error CardFull(const fs::path& file, int e, const std::string& kept) {
  return Error("カードがいっぱいです (" + DisplayPath(file) + ")。" + kept, ErrorKind::kNoSpace, e, file);
}

std::string InterruptedCopyFinishedLine() { return "前回途中で止まったカードへのコピーを完了しました"; }

std::string InterruptedCopyIncompleteLine() {
  return "前回途中で止まったカードへのコピーは完了できませんでした (作業フォルダのデータが変わっています)。"
         "カードのデータはそろっていないため、すべてコピーし直します";
}

std::string DamagedCardEntriesLine(const fs::path& moved_to, size_t count, const std::string& check_command) {
  return "カードに壊れたファイルが " + std::to_string(count) + " 個ありました。削除せずに \"" + DisplayPath(moved_to) +
         "\" に移しました。カードを検査してください: " + check_command;
}

Error CannotWriteToCard(const fs::path& file, int e, const std::string& kept) {
  return Error("ファイル \"" + DisplayPath(file) + "\" をカードに書き込めません。" + SystemReason(e) + "。" + kept,
               ErrorKind::kIo, e, file);
}

namespace {
std::string Megabytes(unsigned long long bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}
}  // namespace

Error NotEnoughCardSpace(const fs::path& card, unsigned long long needed, unsigned long long free) {
  return Error("カードの空き容量が足りません: 必要 " + Megabytes(needed) + " MB、空き " + Megabytes(free) + " MB (" +
                   DisplayPath(card) + ")。カードには何も書き込んでいません。",
               ErrorKind::kNoSpace, ENOSPC, card);
}

Error CannotCopy(const fs::path& file, int e, const std::string& kept) {
  return Error("ファイルをコピーできません: " + DisplayPath(file) + " (" + SystemReason(e) + ")" +
                   (kept.empty() ? "" : "。" + kept),
               ErrorKind::kIo, e, file);
}

Error BackupDiffers(const fs::path& file) {
  return Error("バックアップ \"" + DisplayPath(file) + "\" を読み戻すと元のファイルと一致しません。何も置き換えていません",
               ErrorKind::kIo, EIO, file);
}

Error Stopped() { return Error("変換を中止しました。カードは変換前のままです。", ErrorKind::kStopped); }

std::string ImportBackupMade(const fs::path& folder, int files) {
  return "保存先にあったチェックデータ " + std::to_string(files) + " ファイルを \"" + DisplayPath(folder) +
         "\" に残しました (置き換える前の内容です)";
}

std::string ImportDayStored(int day, int checks, int memos) {
  return std::to_string(day) + "日目: チェック " + std::to_string(checks) + " 件、メモ " + std::to_string(memos) +
         " 件を保存しました";
}

std::string ImportMemoOnly(int day, int records) {
  return std::to_string(day) + "日目: 色が 0 か空の記録 " + std::to_string(records) +
         " 件はチェックにせず、メモだけを保存しました";
}

std::string ImportOutsideRange(int day, int records, unsigned first, unsigned count) {
  const std::string range = count == 0 ? std::string("なし")
                                       : std::to_string(first) + "〜" + std::to_string(first + count - 1);
  return std::to_string(day) + "日目: サークル番号がこの日の範囲 (" + range + ") の外の記録 " +
         std::to_string(records) + " 件はメモを保存していません";
}

std::string ImportNoDay(int records) {
  return "日付が決まらない記録 " + std::to_string(records) + " 件 (ページ番号が空か、1日目より前) は飛ばしました";
}

std::string ImportCircleMinusOne(int records) {
  return "サークル番号が -1 の記録 " + std::to_string(records) + " 件は飛ばしました";
}

std::string ImportTotal(int records, int checks, int memos) {
  return "合計: 記録 " + std::to_string(records) + " 件から、チェック " + std::to_string(checks) + " 件、メモ " +
         std::to_string(memos) + " 件を保存しました";
}

std::string ImportOtherEvent() {
  return "どの記録もこのカタログのサークル番号の範囲にありません。別のイベントかカタログのチェックリストのようです。";
}

std::string ImportWrittenTo(const fs::path& folder) { return "保存先: " + DisplayPath(folder); }

std::string ExportDayWritten(int day, size_t records, size_t skipped) {
  std::string line = std::to_string(day) + "日目: " + std::to_string(records) + " 件を書きました";
  if (skipped > 0) line += " (データにないサークルのチェック " + std::to_string(skipped) + " 件は飛ばしました)";
  return line;
}

std::string ExportTotal(size_t records, size_t skipped) {
  return "合計: " + std::to_string(records) + " 件を書きました。データにないサークルのチェック " +
         std::to_string(skipped) + " 件は飛ばしました";
}

std::string ExportMemoFileMissing(const fs::path& file) {
  return "メモファイル \"" + DisplayPath(file) + "\" がないため、この日のメモの文字は書いていません";
}

std::string ExportMemoFileShort(const fs::path& file) {
  return "メモファイル \"" + DisplayPath(file) + "\" が短いため、一部のサークルのメモの文字は書いていません";
}

std::string ExportWrittenTo(const fs::path& file) { return "書き出したファイル: " + DisplayPath(file); }

Error CardReadBackFailed(const fs::path& file, const std::string& detail) {
  return Error("書き込み確認でカードのファイル \"" + DisplayPath(file) + "\" が作業フォルダと違います (" + detail +
                   ")。カードが傷んでいるか、表示されている容量より実際の容量が小さい可能性があります。",
               ErrorKind::kDamaged, 0, file);
}

Error ReadBackStopped() {
  return Error("書き込み確認を中止しました。カードへのコピーは終わっていますが、確認はしていません。", ErrorKind::kStopped);
}

Error InternalError(const std::string& what) { return Error(what, ErrorKind::kInternal); }

}  // namespace dw
