#include "checklist/check_list_export.h"

#include <system_error>
#include <unordered_map>

#include "dataset/layout.h"
#include "dataset/field_splitter.h"
#include "dataset/check_files.h"
#include "checklist/checklist_csv.h"
#include "dataset/day_tables.h"
#include "checklist/purchase_memo.h"
#include "common/atomic_file.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/table_builder.h"
#include "common/text_lines.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr size_t kFullFields = 17;  // D0 .. D16 of a D_Full line

uint16_t EventNumber(const fs::path& def_file) {
  const std::string bytes = ReadWholeFile(def_file);
  if (bytes.size() < 2) throw Damaged(def_file, "イベント番号がありません");
  return static_cast<uint16_t>(ReadU16(bytes, 0));
}

// Positions in the circle line table of every circle number, in table order.
using CircleIndex = std::unordered_map<int32_t, std::vector<size_t>>;

CircleIndex IndexByCircle(const std::vector<CircleLine>& lines) {
  CircleIndex index;
  for (size_t i = 0; i < lines.size(); ++i) index[lines[i].circle_number].push_back(i);
  return index;
}

// The memo texts of one day's memo file on the card, looked up by day-relative index.
class DayMemos {
 public:
  explicit DayMemos(fs::path path) : path_(std::move(path)) {
    std::error_code ec;
    present_ = fs::is_regular_file(path_, ec);
    if (present_) bytes_ = ReadWholeFile(path_);
  }
  // The slot's text up to its first zero byte, trailing blanks removed (the import turns the
  // line break written after it into a blank); empty when the file is missing or too short.
  std::string TextOf(size_t index) {
    const size_t at = kCheckHeaderSize + kMemoSlotSize * index;
    if (!present_ || at + kMemoSlotSize > bytes_.size()) {
      (present_ ? short_ : missing_) = true;
      return {};
    }
    std::string_view slot(bytes_.data() + at, kMemoSlotSize);
    return std::string(RightTrim(slot.substr(0, slot.find('\0'))));
  }
  void Report(CheckListExportResult& result) const {
    if (missing_) result.missing_memo_files.push_back(path_);
    if (short_) result.short_memo_files.push_back(path_);
  }

 private:
  fs::path path_;
  std::string bytes_;
  bool present_ = false, missing_ = false, short_ = false;
};

// One record line for a check slot and a D_Full line of its circle.
void AppendRecordLine(std::string& out, const CheckSlot& slot, const CircleLine& circle, int substitute_colour,
                      DayRange day, const PurchaseFile& purchases, DayMemos& memos) {
  const std::vector<std::string> d = SplitFields(circle.line);
  if (d.size() < kFullFields) throw IndexOutOfRange(static_cast<long long>(d.size()));
  const int colour = (slot.colour == 0 || slot.colour > 9) ? substitute_colour : slot.colour;
  // A circle outside the day's range has no purchase record and no memo slot in the day's files.
  const long long i = static_cast<long long>(circle.circle_number) - day.first;
  PurchaseRecord record;
  const bool in_range = i >= 0 && i < day.count;
  std::string memo;
  if (in_range) {
    record = purchases.Record(static_cast<size_t>(i));
    memo = memos.TextOf(static_cast<size_t>(i));
    if (!memo.empty()) memo += kCsvMemoLineBreak;
  }
  memo += CheckMemo(slot.flags, in_range ? &record : nullptr);
  const std::string colour_text = std::to_string(colour);
  AppendCsvRecord(out, {d[0], colour_text, d[3], d[4], d[5], d[6], d[7], d[8], d[9], d[10], d[12], d[13], d[14],
                        d[15], d[16], d[1], d[2], memo, d[11]});
}

}  // namespace

void CheckListExport::CircleDataLoad(const fs::path& d_full_file) {
  const std::vector<std::string> lines = ReadTextLines(d_full_file);
  std::vector<std::string> fields;
  for (size_t n = 0; n < lines.size(); ++n) {
    SplitFields(lines[n], fields);
    try {
      // Field 0 is taken as it stands: trailing blanks make it no integer.
      if (RightTrim(fields[0]).size() != fields[0].size()) throw NotAnInteger(fields[0]);
      circle_lines_.push_back({ParseInt(fields[0]), lines[n]});
    } catch (const Error& e) {
      throw AtLine(e, d_full_file, n + 1);
    }
  }
}

CheckListExportResult CheckListExport::Run() {
  if (params.substitute_colour < 0 || params.substitute_colour > 9) {
    throw BadSubstituteColour(params.substitute_colour);
  }
  const DataSetLayout source(params.source_folder);
  CheckListExportResult result;
  circle_lines_.clear();
  for (int k = 1; k <= kMaxExportDays; ++k) {
    const fs::path d_full = source.full_circles(k);
    if (!fs::is_regular_file(d_full)) continue;
    CircleDataLoad(d_full);
    ++result.day_count;
  }
  const uint16_t event_number = EventNumber(source.event_header());
  const fs::path day_top_file = source.day_index();
  const std::vector<DayRange> day_index = ReadDayIndex(day_top_file);

  std::string csv = std::string(kCsvTag) + ",100,Quorvatelle" + std::to_string(event_number) + ",Windows\r\n";
  const CircleIndex by_circle = IndexByCircle(circle_lines_);
  // The days are 1 .. the number of D_Full files found, whatever their own numbers.
  for (int d = 1; d <= result.day_count; ++d) {
    const DayRange day = DayRangeOf(day_index, d, day_top_file);
    const std::vector<CheckSlot> slots = ReadCheckFile(source.checks(d));
    const PurchaseFile purchases = PurchaseFile::Read(source.purchases(d));
    DayMemos memos(source.memos(d));
    ExportDayReport report{d, 0, 0};
    for (const CheckSlot& slot : slots) {
      auto it = by_circle.find(slot.circle);
      if (it == by_circle.end()) {
        ++report.skipped_checks;
        continue;
      }
      for (size_t entry : it->second) {
        AppendRecordLine(csv, slot, circle_lines_[entry], params.substitute_colour, day, purchases, memos);
        ++report.record_lines;
      }
    }
    memos.Report(result);
    result.record_lines += report.record_lines;
    result.skipped_checks += report.skipped_checks;
    result.days.push_back(report);
  }

  ForceDirectories(params.destination_folder);
  result.csv_file = params.destination_folder / kExportFileName;
  DurableSave(result.csv_file, csv);
  return result;
}

}  // namespace dw
