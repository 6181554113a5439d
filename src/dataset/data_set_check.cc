#include "dataset/data_set_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

#include "common/atomic_file.h"
#include "common/table_builder.h"
#include "dataset/check_files.h"
#include "dataset/image_files.h"
#include "dataset/layout.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

constexpr int kDayMapFiles = 5;  // M<d>Map0 .. M<d>Map4

std::string N(size_t n) { return std::to_string(n); }

// A counted table as read: its bytes and the records that are whole (at most its count).
struct Table {
  std::string bytes;
  size_t count = 0;    // as stored
  size_t records = 0;  // whole records present, at most count
  bool present = false;
  uint32_t U8(size_t offset) const { return static_cast<uint8_t>(bytes[offset]); }
  uint32_t U16(size_t offset) const { return ReadU16(bytes, offset); }
};

class Checker {
 public:
  explicit Checker(fs::path root) : root_(std::move(root)), set_(root_) {}

  std::vector<DataSetFault> Run() {
    CheckFixedSizes();
    const Table genres = Counted(set_.genres(), 42);
    (void)genres;
    const Table maps = Counted(set_.maps(), 20);
    const Table areas = Counted(set_.areas(), 10);
    const Table wide_areas = Counted(set_.full_width_areas(), 16);
    if (areas.present && wide_areas.present && wide_areas.count != areas.count) {
      Add(set_.full_width_areas(), 0,
          "件数 " + N(wide_areas.count) + " が L_Area.dat の " + N(areas.count) + " と違います");
    }
    Counted(set_.days(), 6);
    blocks_ = Counted(set_.blocks(), 2).count;
    maps_ = maps.count;
    const Table positions = Counted(set_.map_positions(), 8);
    for (size_t i = 0; i < positions.records; ++i)
      Below(positions, set_.map_positions(), 2 + 8 * i, 1, blocks_, "ブロック番号", "L_Block.dat");
    const Table block_areas = Counted(set_.block_areas(), 2);
    if (block_areas.present && block_areas.count != blocks_) {
      Add(set_.block_areas(), 0, "件数 " + N(block_areas.count) + " が L_Block.dat の " + N(blocks_) + " と違います");
    }
    for (size_t j = 0; j < block_areas.records; ++j) {
      Below(block_areas, set_.block_areas(), 2 + 2 * j, 1, areas.count, "エリア番号", "L_Area.dat");
      Below(block_areas, set_.block_areas(), 3 + 2 * j, 1, maps_, "マップ番号", "L_Map.dat");
    }
    const Table day_index = Counted(set_.day_index(), 4);
    for (size_t d = 1; d <= day_index.records; ++d) {
      CheckDay(static_cast<int>(d), day_index.U16(4 * d - 2), day_index.U16(4 * d));
    }
    CheckImages();
    return std::move(faults_);
  }

 private:
  void Add(const fs::path& file, size_t offset, std::string what) {
    faults_.push_back({file.lexically_relative(root_), offset, std::move(what)});
  }

  std::optional<std::string> Load(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
      Add(path, 0, "ファイルがありません");
      return std::nullopt;
    }
    try {
      return ReadWholeFile(path);
    } catch (const std::exception& e) {
      Add(path, 0, e.what());
      return std::nullopt;
    }
  }

  void FixedSize(const fs::path& path, size_t size) {
    if (const auto bytes = Load(path); bytes && bytes->size() != size) {
      Add(path, 0, "長さが " + N(bytes->size()) + " バイトです (" + N(size) + " バイトのはず)");
    }
  }

  void CheckFixedSizes() {
    FixedSize(set_.event_header(), 62);
    FixedSize(set_.map_max(), 2);
    FixedSize(set_.config(), 4);
    FixedSize(set_.image_sizes(), 12);
  }

  // A u16 count at offset 0, then exactly that many records of `record_size` bytes.
  Table Counted(const fs::path& path, size_t record_size) {
    Table t;
    std::optional<std::string> bytes = Load(path);
    if (!bytes) return t;
    t.present = true;
    t.bytes = std::move(*bytes);
    if (t.bytes.size() < 2) {
      Add(path, 0, "件数がありません (" + N(t.bytes.size()) + " バイト)");
      return t;
    }
    t.count = t.U16(0);
    t.records = std::min(t.count, (t.bytes.size() - 2) / record_size);
    const size_t expected = 2 + t.count * record_size;
    if (t.bytes.size() != expected) {
      Add(path, 0,
          "件数 " + N(t.count) + " x " + N(record_size) + " バイトには " + N(expected) + " バイトのはずが " +
              N(t.bytes.size()) + " バイトです");
    }
    return t;
  }

  // The value at `offset` (`width` 1 or 2 bytes) is 0 or below `limit`, the count of `table`.
  void Below(const Table& t, const fs::path& path, size_t offset, int width, size_t limit, const char* what,
             const char* table) {
    const uint32_t v = width == 1 ? t.U8(offset) : t.U16(offset);
    if (v != 0 && v >= limit) {
      Add(path, offset, std::string(what) + " " + N(v) + " が " + table + " の件数 " + N(limit) + " を超えています");
    }
  }

  void CheckDay(int d, uint32_t first, uint32_t count) {
    const fs::path list_path = set_.cdata() / DataSetLayout::CircleListName(d);
    const Table list = Counted(list_path, 66);
    if (list.present && list.count != count) {
      Add(list_path, 0,
          "件数 " + N(list.count) + " が L_DayTop.dat の " + N(d) + " 日目 " + N(count) + " 件と違います");
    }
    const Table pages = Counted(set_.pages(d), 4);
    std::set<uint32_t> page_numbers;
    for (size_t p = 0; p < pages.records; ++p) {
      page_numbers.insert(pages.U16(2 + 4 * p));
      if (pages.U16(4 + 4 * p) >= list.count) {
        Add(set_.pages(d), 4 + 4 * p,
            "行番号 " + N(pages.U16(4 + 4 * p)) + " が " + DataSetLayout::CircleListName(d) + " の件数 " +
                N(list.count) + " を超えています");
      }
    }
    auto page_known = [&](const Table& t, const fs::path& path, size_t offset) {
      const uint32_t page = t.U16(offset);
      if (page != 0 && !page_numbers.count(page)) {
        Add(path, offset, "ページ " + N(page) + " が L_Page" + N(d) + ".dat にありません");
      }
    };
    for (size_t i = 0; i < list.records; ++i) {
      const size_t at = 2 + 66 * i;
      if (((list.U16(at) - first) & 0xFFFF) >= count) {
        Add(list_path, at,
            "サークル番号 " + N(list.U16(at)) + " が L_DayTop.dat の " + N(d) + " 日目 (" + N(first) + " から " +
                N(count) + " 件) の外です");
      }
      page_known(list, list_path, at + 2);
      Below(list, list_path, at + 6, 1, blocks_, "ブロック番号", "L_Block.dat");
      Below(list, list_path, at + 8, 1, maps_, "マップ番号", "L_Map.dat");
    }
    const Table tops = Counted(set_.block_tops(d), 6);
    if (tops.present && tops.count != blocks_) {
      Add(set_.block_tops(d), 0, "件数 " + N(tops.count) + " が L_Block.dat の " + N(blocks_) + " と違います");
    }
    for (size_t b = 0; b < tops.records; ++b) {
      page_known(tops, set_.block_tops(d), 2 + 6 * b);
      Below(tops, set_.block_tops(d), 6 + 6 * b, 2, pages.count, "ページ索引", ("L_Page" + N(d) + ".dat").c_str());
    }
    const Table info = Counted(set_.circle_info(d), 332);
    if (info.present && info.count != list.count) {
      Add(set_.circle_info(d), 0,
          "件数 " + N(info.count) + " が " + DataSetLayout::CircleListName(d) + " の " + N(list.count) + " と違います");
    }
    for (int k = 0; k < kDayMapFiles; ++k) {
      const fs::path path = set_.cdata() / (DataSetLayout::DayMapPrefix(d) + "Map" + N(k) + ".dat");
      std::error_code ec;
      if (!fs::exists(path, ec)) continue;
      if (static_cast<size_t>(k) >= maps_) Add(path, 0, "マップ " + N(k) + " が L_Map.dat にありません");
      const Table marks = Counted(path, 12);
      for (size_t j = 0; j < marks.records; ++j) {
        if (marks.U16(2 + 12 * j) >= list.count) {
          Add(path, 2 + 12 * j,
              "行番号 " + N(marks.U16(2 + 12 * j)) + " が " + DataSetLayout::CircleListName(d) + " の件数 " +
                  N(list.count) + " を超えています");
        }
        Below(marks, path, 4 + 12 * j, 1, blocks_, "ブロック番号", "L_Block.dat");
      }
    }
    Load(set_.full_circles(d));
    for (uint32_t page : page_numbers) {
      char name[16];
      std::snprintf(name, sizeof name, "%04u.gdc", static_cast<unsigned>(page));
      std::error_code ec;
      if (page != 0 && !fs::is_regular_file(set_.page_folder(d) / name, ec)) {
        Add(set_.pages(d), 0,
            "ページ " + N(page) + " の画像 " + (set_.page_folder(d).filename() / name).generic_string() +
                " がありません");
      }
    }
    CheckCheckFiles(d, first, count);
  }

  void CheckCheckFiles(int d, uint32_t first, uint32_t count) {
    if (const auto checks = Load(set_.checks(d))) {
      const size_t capacity = checks->size() < 2 ? 0 : (checks->size() - 2) / kCheckSlotSize;
      const size_t used = checks->size() < 2 ? 0 : ReadU16(*checks, 0);
      if (checks->size() < 2 || (checks->size() - 2) % kCheckSlotSize != 0 || used > capacity) {
        Add(set_.checks(d), 0,
            "使用数 " + N(used) + " が枠数 " + N(capacity) + " に収まりません (" + N(checks->size()) + " バイト)");
      }
      for (size_t k = 0; k < std::min(used, capacity); ++k) {
        const uint32_t circle = ReadU16(*checks, 2 + kCheckSlotSize * k);
        if (((circle - first) & 0xFFFF) >= count) {
          Add(set_.checks(d), 2 + kCheckSlotSize * k, "サークル番号 " + N(circle) + " が " + N(d) + " 日目の外です");
        }
      }
    }
    const Table memos = Counted(set_.memos(d), kMemoBytesPerCircle);
    if (memos.present && memos.count != count) {
      Add(set_.memos(d), 0, "件数 " + N(memos.count) + " が " + N(d) + " 日目の " + N(count) + " 件と違います");
    }
    for (size_t i = 0; i < memos.records; ++i) {
      const size_t last = 2 + kMemoSlotSize * i + kMemoSlotSize - 1;
      if (memos.bytes[last] != 0) Add(set_.memos(d), last, "メモが 159 バイトを超えています");
    }
    const Table purchases = Counted(set_.purchases(d), kPurchaseRecordSize);
    if (purchases.present && purchases.count != count) {
      Add(set_.purchases(d), 0, "件数 " + N(purchases.count) + " が " + N(d) + " 日目の " + N(count) + " 件と違います");
    }
  }

  void CheckImages() {
    PaletteFile palette;
    int usable = 255;
    if (const auto bytes = Load(set_.palette())) {
      if (const auto fault = DecodePalette(*bytes, palette)) {
        Add(set_.palette(), fault->offset, fault->what);
      } else {
        usable = palette.usable;
      }
    }
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::directory_iterator(root_, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.rfind("PDATA", 0) != 0 && name != kMdataFolder) continue;
      for (auto f = fs::directory_iterator(it->path(), ec); !ec && f != fs::directory_iterator(); f.increment(ec)) {
        files.push_back(f->path());
      }
    }
    std::sort(files.begin(), files.end());
    IndexImage image;
    for (const fs::path& file : files) {
      const std::string name = file.filename().string();
      const bool gdc = file.extension() == ".gdc";
      const bool mini = name.size() > 8 && name.compare(name.size() - 8, 8, "mini.dat") == 0;
      if (!gdc && !mini) continue;
      const auto bytes = Load(file);
      if (!bytes) continue;
      const auto fault = gdc ? DecodeGdc(*bytes, image, usable) : DecodeMiniMap(*bytes, image, usable);
      if (fault) Add(file, fault->offset, fault->what);
    }
  }

  fs::path root_;
  DataSetLayout set_;
  size_t blocks_ = 0, maps_ = 0;
  std::vector<DataSetFault> faults_;
};

}  // namespace

std::vector<DataSetFault> CheckDataSet(const fs::path& root) { return Checker(root).Run(); }

std::string FaultLine(const DataSetFault& fault) {
  return fault.file.generic_string() + ": オフセット " + std::to_string(fault.offset) + ": " + fault.what;
}

}  // namespace dw
