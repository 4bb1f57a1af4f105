#include "toolkit/Application.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget and pixel tests run under the program's own application object, so that an error
// escaping an event handler meets the program's last-resort report; the offscreen platform
// needs no display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Recovery copies of the windows the tests make go to a folder of the run's own.
  const QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  TApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
