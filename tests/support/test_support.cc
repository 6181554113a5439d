#include "support/test_support.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "common/sjis.h"

namespace dw::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    fs::path p = fs::temp_directory_path() /
                 ("dwtest-" + std::to_string(::getpid()) + "-" + std::to_string(rd() % 1000000000));
    if (fs::create_directory(p)) {
      path_ = p;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable again before removing.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8); }

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

void RecordingStatusLog::ClearLines() {
  lines.clear();
  calls.push_back("clear");
}
void RecordingStatusLog::AddLine(const std::string& utf8) {
  lines.push_back(utf8);
  calls.push_back("line: " + utf8);
}
void RecordingStatusLog::SetLabel(const std::string& utf8) {
  label = utf8;
  calls.push_back("label: " + utf8);
}
void RecordingStatusLog::SetProgressMin(int value) {
  min = value;
  calls.push_back("min: " + std::to_string(value));
}
void RecordingStatusLog::SetProgressMax(int value) {
  max = value;
  calls.push_back("max: " + std::to_string(value));
}
void RecordingStatusLog::SetProgressPosition(int value) {
  position = value;
  calls.push_back("position: " + std::to_string(value));
}
void RecordingStatusLog::EnableBackButton(bool enabled) {
  back_enabled = enabled;
  calls.push_back(enabled ? "back: on" : "back: off");
}
void RecordingStatusLog::Show() { calls.push_back("show"); }
void RecordingStatusLog::ProcessEvents() {
  ++process_events;
  calls.push_back("events");
}

std::string Words(std::initializer_list<std::string> words) {
  std::string line;
  for (const std::string& w : words) line += (line.empty() ? "" : " ") + Quote(w);
  return line;
}

Files Snapshot(const fs::path& root) {
  Files files;
  if (!fs::is_directory(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), root).generic_string()] = ReadFile(e.path());
  }
  return files;
}

Files SnapshotWithFolders(const fs::path& root) {
  Files tree;
  if (!fs::exists(root)) return tree;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    tree[e.path().lexically_relative(root).generic_string()] = e.is_directory() ? "<dir>" : ReadFile(e.path());
  }
  return tree;
}

std::string Differences(const Files& a, const Files& b) {
  std::string out;
  for (const auto& [name, bytes] : a) {
    auto it = b.find(name);
    if (it == b.end() || it->second != bytes) out += name + " ";
  }
  for (const auto& [name, bytes] : b) {
    if (!a.count(name)) out += "+" + name + " ";
  }
  return out;
}

fs::path SampleCatalog() { return fs::path(DW_SOURCE_DIR) / "samples" / "catalog"; }

fs::path PngSuiteDir() {
  fs::path p = fs::path(DW_PNGSUITE_DIR);
  return fs::is_directory(p) ? p : fs::path();
}

}  // namespace dw::test
