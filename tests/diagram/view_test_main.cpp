// Runs the view tests inside one application. The workers the views start
// wait on an event of their own, so a running copy of the tool cannot start
// them and no test here can start that copy's.
#include <gtest/gtest.h>

#include <QApplication>
#include <string>

#include "animation_worker.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SetStartEventName("VeridriftDiagramViewTests-" +
                    std::to_string(QCoreApplication::applicationPid()));
  return RUN_ALL_TESTS();
}
