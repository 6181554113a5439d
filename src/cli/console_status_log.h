// The status log of the command line: lines to stdout, label and progress bar to stderr when
// stderr is a terminal.
#pragma once

#include <cstdio>
#include <string>

#include "common/status_log.h"

namespace dw {

class ConsoleStatusLog : public StatusLog {
 public:
  ConsoleStatusLog(std::FILE* lines, std::FILE* progress, bool show_progress);
  ~ConsoleStatusLog() override;

  void ClearLines() override {}
  void AddLine(const std::string& utf8) override;
  void SetLabel(const std::string& utf8) override;
  void SetProgressMin(int value) override;
  void SetProgressMax(int value) override;
  void SetProgressPosition(int value) override;
  void EnableBackButton(bool) override {}
  void Show() override {}
  void ProcessEvents() override {}

 private:
  void Draw();
  void Erase();

  std::FILE* lines_;
  std::FILE* progress_;
  bool show_progress_;
  bool drawn_ = false;
  std::string label_;
  int min_ = 0, max_ = 10, position_ = 0;
  int last_cells_ = -1;
};

}  // namespace dw
