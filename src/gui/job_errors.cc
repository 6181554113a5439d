#include "gui/job_errors.h"

#include <exception>

namespace dw::ui {

bool RunShowingErrors(Dialogs& dialogs, const std::function<void()>& job) {
  try {
    job();
    return true;
  } catch (const std::exception& e) {
    // dw::Error carries the user-facing message; library failures (bad_alloc,
    // filesystem_error) are shown the same way rather than ending the program.
    dialogs.JobError(QString::fromUtf8(e.what()));
  }
  return false;
}

}  // namespace dw::ui
