// Progress of the table writers that walk a day's rows: the bar spans the rows, and every 100th
// row moves it and lets the user interface repaint.
#pragma once

#include <cstddef>

#include "common/status_log.h"

namespace dw {

inline constexpr size_t kRowProgressStep = 100;

inline void StartRowProgress(StatusLog& log, size_t rows) {
  log.SetProgressMin(0);
  log.SetProgressMax(static_cast<int>(rows) - 1);
  log.SetProgressPosition(0);
}

inline void RowProgress(StatusLog& log, size_t row) {
  if (row % kRowProgressStep != 0) return;
  log.SetProgressPosition(static_cast<int>(row));
  log.ProcessEvents();
}

}  // namespace dw
