// Shell tests run the real widgets and serial port under the program's own application
// object, on the offscreen platform unless a display platform is asked for.
#include <gtest/gtest.h>

#include "app/Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  wyk::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
