// The one place where a job's failure is shown: the application's error box.
#pragma once

#include <functional>

#include <QString>

#include "gui/dialogs.h"

namespace dw::ui {

// Why a job did not run to its end.
struct JobFailure {
  QString text;          // the user-facing message
  bool stopped = false;  // the user asked the run to stop (dw::ErrorKind::kStopped)
};

// Runs `job` to its end. A dw::Error (or any other std::exception) it throws ends it there: the
// page learns of it through `on_failure` (may be empty), then the error box shows it, except
// for a stop the user asked for. Returns false then.
bool RunShowingErrors(Dialogs& dialogs, const std::function<void()>& job,
                      const std::function<void(const JobFailure&)>& on_failure = {});

}  // namespace dw::ui
