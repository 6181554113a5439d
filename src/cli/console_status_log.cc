#include "cli/console_status_log.h"

#include <algorithm>

namespace dw {

namespace {
constexpr int kBarCells = 30;
}

ConsoleStatusLog::ConsoleStatusLog(std::FILE* lines, std::FILE* progress, bool show_progress)
    : lines_(lines), progress_(progress), show_progress_(show_progress) {}

ConsoleStatusLog::~ConsoleStatusLog() { Erase(); }

void ConsoleStatusLog::Erase() {
  if (drawn_) {
    std::fputs("\r\033[K", progress_);
    std::fflush(progress_);
    drawn_ = false;
  }
}

void ConsoleStatusLog::Draw() {
  if (!show_progress_) return;
  int span = std::max(1, max_ - min_);
  int cells = std::clamp((position_ - min_) * kBarCells / span, 0, kBarCells);
  std::string bar(static_cast<size_t>(cells), '#');
  bar.resize(kBarCells, '.');
  std::fprintf(progress_, "\r\033[K%s [%s]", label_.c_str(), bar.c_str());
  std::fflush(progress_);
  drawn_ = true;
  last_cells_ = cells;
}

void ConsoleStatusLog::AddLine(const std::string& utf8) {
  Erase();
  std::fprintf(lines_, "%s\n", utf8.c_str());
  std::fflush(lines_);
  Draw();
}

void ConsoleStatusLog::SetLabel(const std::string& utf8) {
  label_ = utf8;
  Draw();
}

void ConsoleStatusLog::SetProgressMin(int value) { min_ = value; }
void ConsoleStatusLog::SetProgressMax(int value) { max_ = value; }

void ConsoleStatusLog::SetProgressPosition(int value) {
  position_ = value;
  if (!show_progress_) return;
  int span = std::max(1, max_ - min_);
  int cells = std::clamp((position_ - min_) * kBarCells / span, 0, kBarCells);
  if (cells != last_cells_) Draw();
}

}  // namespace dw
