#include "DrawingSetup.h"

#include <cstdio>
#include <filesystem>

#include "Command.h"
#include "config/Settings.h"

namespace wyk::cli {

std::unique_ptr<QGuiApplication> StartGui() {
  // The application keeps references to these for its lifetime.
  static int argc = 1;
  static char name[] = "wykresownik-cli";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notes about the platform (a missing runtime folder and the like) are not ours to show.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  });
  return std::make_unique<QGuiApplication>(argc, argv);
}

void LoadViewSettings(Settings& settings, const Arguments& arguments) {
  const std::string path = arguments.Value("settings");
  if (!path.empty() && !std::filesystem::is_regular_file(path))
    throw CliError(kBadInput, "Nie mogę odczytać pliku ustawień " + path);
  // No file gives every entry its default, as for the program without its settings file.
  LoadSettings(settings, path);
}

}  // namespace wyk::cli
