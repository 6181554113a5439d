#include "dataset/field_splitter.h"

#include "common/sjis.h"

namespace dw {

size_t SplitFields(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  size_t start = 0;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '\t') {
      fields.emplace_back(line.substr(start, i - start));
      start = ++i;
    } else {
      i += IsSjisLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    }
  }
  // The four appended TABs: the first ends the last own field, the other three add empty fields.
  // A lead byte at the very end takes the first appended TAB as its second byte.
  if (i > line.size()) {
    fields.emplace_back(std::string(line.substr(start)) + '\t');
  } else {
    fields.emplace_back(line.substr(start));
    fields.emplace_back();
  }
  fields.emplace_back();
  fields.emplace_back();
  return fields.size();
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  SplitFields(line, fields);
  return fields;
}

}  // namespace dw
