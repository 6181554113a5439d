// Finishing a copy onto the card from what its list says, after a crash at any point of it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "convert/card_folder.h"
#include "convert/copy_list.h"

namespace dw {

inline constexpr const char* kStagingFolder = "ZAVO_DS.new";
inline constexpr const char* kSwapListName = "SWAPLIST.TXT";
// Where entries the repair found damaged are moved, so the driver never frees their clusters.
inline constexpr const char* kDamagedFolder = "ZAVO_DS.damaged";

struct RepairOutcome {
  bool found = false;     // the card held a trace of an unfinished copy
  bool finished = true;   // every listed file now stands in ZAVO_DS with its listed bytes
  std::vector<std::string> damaged;  // card-relative entries moved into kDamagedFolder
};

// What a file on the card is, measured against its list entry.
enum class FileState { kAbsent, kListed, kOld, kDamaged };

// Reads `relative` whole: kListed when its size and checksum are the entry's, kOld when it reads
// without error and has the size of the file the copy replaced, kDamaged otherwise (a read
// error, a short read, another size).
FileState InspectFile(int dirfd, const std::string& relative, const CopyEntry& entry);

// Puts each listed file in place: a target that already holds the listed bytes stays, a whole
// staged file is renamed over it, and a file missing or damaged in both places is copied again
// from `workspace` when it still holds the listed bytes. With `inspect` every file about to be
// renamed over or deleted is read first, and damaged ones are moved aside, never deleted. Then the
// staging folder is removed (its list last). Throws dw::Error only for a card that is gone.
RepairOutcome FinishCopy(const CardFolder& card, const std::vector<CopyEntry>& entries,
                         const std::filesystem::path& workspace, bool inspect);

// Looks for any trace of an unfinished copy (the staging folder) and finishes it with FinishCopy;
// a staging folder without a complete list never reached ZAVO_DS and is only removed.
RepairOutcome RepairInterruptedCopy(const CardFolder& card, const std::filesystem::path& workspace);

}  // namespace dw
