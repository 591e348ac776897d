// Shell tests run the real widgets and serial port under the program's own application
// object, on the offscreen platform unless a display platform is asked for.
#include <gtest/gtest.h>

#include "app/Application.h"

// Allocations that the system libraries under Qt keep until exit; LeakSanitizer asks for these.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libdbus\nleak:libglib\nleak:libQt6Gui\nleak:libQt6Core\n";
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  wyk::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
