#pragma once
// The windows of the program, created in their start-up order.

#include <memory>
#include <string>

#include "app/RecorderState.h"
#include "app/TForm1.h"
#include "app/TForm2.h"
#include "app/TForm3.h"
#include "app/TForm4.h"

namespace wyk {

struct Windows {
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TForm3> form3;
  std::unique_ptr<TForm4> form4;  // "Pomiary"
};

// Main window (which loads the settings), then the configuration dialog (which gives the
// main window its caption), then the spectrum window. None is shown yet.
Windows CreateWindows(RecorderState& state, const std::string& settingsPath);

}  // namespace wyk
