// Checks a data set as the handheld reads it: the size of every table against its count, the
// references between the tables, the page images the page tables name, every image and the
// check files. Reads only; never throws for what it finds in the files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace dw {

struct DataSetFault {
  std::filesystem::path file;  // relative to the data set's root
  size_t offset = 0;           // of the first byte at fault
  std::string what;
};

// The faults of the data set rooted at `root` (a workspace or a ZAVO_DS folder), in the order the
// files are checked; empty when the set is sound.
std::vector<DataSetFault> CheckDataSet(const std::filesystem::path& root);

// "<file>: オフセット <n>: <what>", the file '/'-separated.
std::string FaultLine(const DataSetFault& fault);

}  // namespace dw
