#pragma once
// The program's windows created as at start-up, with a settings file of the test's choosing.

#include <memory>

#include "app/RecorderState.h"
#include "app/Windows.h"
#include "support/TempDir.h"

namespace wyk::testing {

struct StartedProgram {
  TempDir dir;
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  Windows windows;

  // `settings`: the settings file's content, nullptr for no file.
  explicit StartedProgram(const char* settings = nullptr) {
    const std::string path = dir.File("wykresownik.INI");
    if (settings) WriteFile(path, settings);
    windows = CreateWindows(*state, path);
  }
  TForm1& Main() { return *windows.form1; }
};

}  // namespace wyk::testing
