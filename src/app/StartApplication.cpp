#include "app/StartApplication.h"

#include <exception>
#include <memory>

#include "app/Application.h"
#include "app/Windows.h"
#include "config/SettingsLocation.h"

namespace wyk {

int StartApplication(int argc, char** argv) {
  Application app(argc, argv);
  try {
    auto state = std::make_unique<RecorderState>();
    state->fftSamplePeriodMs = state->samplePeriodMs;
    const std::string settingsPath = SettingsPathForThisProgram();
    const Windows windows = CreateWindows(*state, settingsPath);
    windows.form1->show();
    return app.exec();
  } catch (const std::exception& e) {
    Application::ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
}

}  // namespace wyk
