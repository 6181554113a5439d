// The status page's bar as the jobs drive it: forward only within a phase, full when finished.
#include <gtest/gtest.h>

#include <QProgressBar>

#include "gui/status_form.h"

namespace dw::ui::test {
namespace {

TEST(StatusFormTest, BarNeverGoesBackWithinAPhaseAndIsFullWhenFinished) {
  TStatusForm form;
  dw::StatusLog& log = form;
  QProgressBar* bar = form.ProgressBar1();
  log.ClearLines();
  log.SetProgressPosition(0);
  log.SetProgressMin(0);
  log.SetProgressMax(100);  // a phase: the pages of the image job
  log.SetProgressPosition(40);
  log.SetProgressPosition(90);
  log.SetProgressPosition(0);  // the reset before the hall maps
  EXPECT_EQ(bar->value(), 90);
  log.SetProgressPosition(95);
  EXPECT_EQ(bar->value(), 95);

  log.SetProgressMax(8);  // a new phase (the copy: files to copy) may start low
  log.SetProgressPosition(0);
  EXPECT_EQ(bar->value(), 0);
  log.SetProgressPosition(3);
  log.SetProgressPosition(2);
  EXPECT_EQ(bar->value(), 3);
  log.SetProgressPosition(99);  // beyond the range: the bar's end
  EXPECT_EQ(bar->value(), 8);

  // The same range set again still starts a phase (two writers over tables of one size).
  log.SetProgressMax(8);
  log.SetProgressPosition(1);
  EXPECT_EQ(bar->value(), 1);
  form.ShowFinished(QStringLiteral("/card/ZAVO_DS/"));
  EXPECT_EQ(bar->value(), 8);

  log.ClearLines();  // a new run starts from the bottom
  log.SetProgressPosition(0);
  EXPECT_EQ(bar->value(), 0);
}

}  // namespace
}  // namespace dw::ui::test
