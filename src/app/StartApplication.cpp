#include "app/StartApplication.h"

#include <QFile>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Windows.h"
#include "config/SettingsLocation.h"

namespace wyk {

// --help and --version are answered before the application object exists: they need no display.
int StartApplication(int argc, char** argv) {
  const CommandLine command = ParseCommandLine({argv + 1, argv + argc});
  switch (command.action) {
    case CommandLine::Action::kHelp:
      std::fputs(HelpText(SettingsPathForThisProgram()).c_str(), stdout);
      return 0;
    case CommandLine::Action::kVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLine::Action::kBadUsage:
      std::fputs(UsageError(command.error).c_str(), stderr);
      return 1;
    case CommandLine::Action::kRun:
      break;
  }
  // Qt sees no arguments: each one has been taken above.
  int qtArgc = 1;
  Application app(qtArgc, argv);
  try {
    auto state = std::make_unique<RecorderState>();
    state->spectrum.fftSamplePeriodMs = state->scales.samplePeriodMs;
    const std::string settingsPath = SettingsPathForThisProgram();
    const Windows windows = CreateWindows(*state, settingsPath);
    windows.form1->show();
    if (command.recording)
      windows.form1->OpenRecordingAtStart(QFile::decodeName(command.recording->c_str()));
    return app.exec();
  } catch (const std::exception& e) {
    Application::ShowError(QString::fromUtf8(e.what()));
    return 1;
  }
}

}  // namespace wyk
