// The one place where a job's failure is shown: the application's error box.
#pragma once

#include <functional>

#include "gui/dialogs.h"

namespace dw::ui {

// Runs `job` to its end. A dw::Error (or any other std::exception) it throws ends it there and
// is shown with Dialogs::JobError; returns false then.
bool RunShowingErrors(Dialogs& dialogs, const std::function<void()>& job);

}  // namespace dw::ui
