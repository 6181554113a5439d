#include "gui/job_errors.h"

#include <exception>

#include "common/error.h"

namespace dw::ui {

bool RunShowingErrors(Dialogs& dialogs, const std::function<void()>& job,
                      const std::function<void(const JobFailure&)>& on_failure) {
  JobFailure failure;
  try {
    job();
    return true;
  } catch (const dw::Error& e) {
    failure = {QString::fromUtf8(e.what()), e.kind() == dw::ErrorKind::kStopped};
  } catch (const std::exception& e) {
    // Library failures (bad_alloc, filesystem_error) are shown the same way rather than
    // ending the program.
    failure = {QString::fromUtf8(e.what()), false};
  }
  if (on_failure) on_failure(failure);
  if (!failure.stopped) dialogs.JobError(failure.text);
  return false;
}

}  // namespace dw::ui
