// One QApplication for every page test, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/application_look.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dw::ui::ApplyApplicationLook(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
