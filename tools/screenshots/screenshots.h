// Saves a picture of every page, for the documentation (started by scripts/screenshots.sh).
#pragma once

#include <functional>

#include <QString>

#include "gui/qt_dialogs.h"

namespace dw::ui {

class Shell;

// The program's own boxes, except that the start confirmation answers Yes by itself and no beep
// sounds. A box that does come up is pictured and then answered by `answer_box`, run shortly
// after the box has opened.
class ScreenshotDialogs : public QtDialogs {
 public:
  void Beep() override {}
  bool Confirm(const QString& text) override;
  void JobError(const QString& text) override;

  std::function<void()> answer_box;
  bool show_start_confirmation = false;  // the start confirmation comes up too

 private:
  void AnswerSoon();
};

// The number of pictures SaveScreenshots writes, with or without the sample catalog.
int ExpectedScreenshots(bool with_sample_catalog);

// Brings each page to the front in turn and writes <folder>/<page class>.png, then pictures the
// source page with a typed path, with a missing one, with its places list open and with the
// hint for a folder above the catalog. When
// `sample_catalog` is given, it also converts that catalog into `scratch_folder` through the
// wizard: the confirmation (answered No), the close question during the run (answered No), the
// finished page, a run that fails with the status page in its error state, and the hints of the
// destination page and the export's source page for the card it wrote. Returns the number of files written.
int SaveScreenshots(Shell& shell, ScreenshotDialogs& dialogs, const QString& folder,
                    const QString& sample_catalog, const QString& scratch_folder);

}  // namespace dw::ui
