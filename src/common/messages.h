// Every user-facing failure message of the core, built in one place. Each function returns the
// Error to throw, with its kind, errno and path. Texts are UTF-8; Shift-JIS input bytes are
// converted for display, never raw.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/error.h"

namespace dw {

namespace fs = std::filesystem;

// A path for messages, in UTF-8.
std::string DisplayPath(const fs::path& path);

// The reason text for a system error number, in the words users know from the catalog tools:
// "ファイルが見つかりません", "ファイルへのアクセスが拒否されました", ...
std::string SystemReason(int errno_value);

// Values in the user's input.
Error NotAnInteger(std::string_view cell_sjis);  // "'%s' は整数ではありません"
Error IndexOutOfRange(long long index);          // "リストのインデックスが範囲を超えています (%d)"
Error MissingSection(std::string_view section);
Error BadBlockNameLength(long long row, std::string_view name_sjis);
Error BadSubstituteColour(int colour);
// `cause` with the file and the 1-based line it came from.
Error AtLine(const Error& cause, const fs::path& file, size_t line);

// Files the system refused.
Error CannotCreate(const fs::path& path, int errno_value);  // "... を作成できません。<reason>"
Error CannotOpen(const fs::path& path, int errno_value);    // "... は開けません。<reason>"
Error TextFileError(const fs::path& path, int errno_value);  // "<reason> (<path>)"

// Files shorter than they claim or otherwise inconsistent: "ファイル "<path>" が壊れています: <what>".
Error Damaged(const fs::path& path, const std::string& what);
// A counted table shorter than its count says (the one message of every counted-table reader).
Error ShortTable(const fs::path& path, size_t count, size_t record_size, size_t file_size);
Error CannotReadImage(const fs::path& path, const std::string& reason);

// Input beyond the data set's tables or the program's limits.
Error TooManyBlocks(size_t limit, size_t count, std::string_view name_sjis);
Error MapIndexTooLarge(unsigned limit, std::string_view block_sjis, unsigned map_index);
Error TooManyRecords(const fs::path& path, size_t count, size_t limit);
Error CheckSlotsFull(size_t capacity, size_t used);
Error ImageTooLarge(const fs::path& path, unsigned width, unsigned height, unsigned side_limit,
                    unsigned long long pixel_limit);
Error NotRepresentableInShiftJis(std::string_view utf8);

// The images-only mode needs the data tables of an earlier run.
Error DayTableMissing(const fs::path& l_date);

// The destination (the memory card). `kept` ends each message with what stayed as it was.
Error DestinationUnusable(const fs::path& destination, int errno_value);  // missing or not a folder
Error DestinationOverlapsWorkspace(const fs::path& destination, const fs::path& workspace);
Error FolderBusy(const std::string& role, const fs::path& folder, int errno_value);
Error CardRemoved(const fs::path& card, const fs::path& file, int errno_value, const std::string& kept);
Error CardFull(const fs::path& file, int errno_value, const std::string& kept);
Error CannotWriteToCard(const fs::path& file, int errno_value, const std::string& kept);
Error NotEnoughCardSpace(const fs::path& card, unsigned long long needed_bytes, unsigned long long free_bytes);
Error CannotCopy(const fs::path& file, int errno_value, const std::string& kept);
// Status lines of a copy onto the card that finished one a crash had interrupted.
std::string InterruptedCopyFinishedLine();
std::string InterruptedCopyIncompleteLine();
std::string DamagedCardEntriesLine(const fs::path& moved_to, size_t count, const std::string& check_command);
// A backup file whose bytes read back differ from what was written.
Error BackupDiffers(const fs::path& file);
Error Stopped();  // the user asked the run to stop; the card is as it was
// The read-back after the copy: the card's copy of `file` differs from the workspace (`detail`
// says where), or the user stopped the read-back after the copy was complete.
Error CardReadBackFailed(const fs::path& file, const std::string& detail);
Error ReadBackStopped();

// Report lines of the check-list jobs (UTF-8, one line each).
std::string ImportBackupMade(const fs::path& folder, int files);
std::string ImportDayStored(int day, int checks, int memos);
std::string ImportMemoOnly(int day, int records);
std::string ImportOutsideRange(int day, int records, unsigned first, unsigned count);
std::string ImportNoDay(int records);
std::string ImportCircleMinusOne(int records);
std::string ImportTotal(int records, int checks, int memos);
std::string ImportOtherEvent();
std::string ImportWrittenTo(const fs::path& folder);
std::string ExportDayWritten(int day, size_t records, size_t skipped);
std::string ExportTotal(size_t records, size_t skipped);
std::string ExportMemoFileMissing(const fs::path& file);
std::string ExportMemoFileShort(const fs::path& file);
std::string ExportWrittenTo(const fs::path& file);

// A broken assumption of the program itself (`where` names the unit).
Error InternalError(const std::string& what);

}  // namespace dw
