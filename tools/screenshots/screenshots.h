// Saves a picture of every page, for the documentation (started by scripts/screenshots.sh).
#pragma once

#include <QString>

namespace dw::ui {

class Shell;

// Brings each page to the front in turn and writes <folder>/<page class>.png. When
// `sample_catalog` is given, it also converts that catalog into a temporary folder and writes
// the status page at the end of the run as TStatusForm_finished.png. Returns the number of
// files written.
int SaveScreenshots(Shell& shell, const QString& folder, const QString& sample_catalog = QString());

}  // namespace dw::ui
