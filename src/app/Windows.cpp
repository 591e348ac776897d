#include "app/Windows.h"

#include "app/WindowKeys.h"

namespace wyk {

Windows CreateWindows(RecorderState& state, const std::string& settingsPath) {
  Windows windows;
  windows.form1 = std::make_unique<TForm1>(state, settingsPath);
  windows.form2 = std::make_unique<TForm2>(state, *windows.form1);
  windows.form3 = std::make_unique<TForm3>(state, *windows.form1);
  windows.form1->configurationDialog = windows.form2.get();
  windows.form1->spectrumWindow = windows.form3.get();
  windows.form4 = std::make_unique<TForm4>(state, *windows.form1);
  windows.form1->measurementWindow = windows.form4.get();
  SetUpMainWindowKeys(*windows.form1);
  SetUpConfigurationKeys(*windows.form2);
  SetUpSpectrumKeys(*windows.form3);
  return windows;
}

}  // namespace wyk
