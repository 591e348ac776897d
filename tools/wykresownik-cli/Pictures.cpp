#include "Pictures.h"

#include <QBuffer>
#include <QImage>
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

QImage PictureOf(const Canvas& canvas, Rect area) {
  const QImage whole(canvas.Bits(), canvas.Width(), canvas.Height(), canvas.BytesPerLine(),
                     QImage::Format_RGB32);
  return whole.copy(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void WritePng(const Canvas& canvas, Rect area, OutputFile& output) {
  WritePng(PictureOf(canvas, area), output);
}

void WritePng(const QImage& picture, OutputFile& output) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) throw CliError(kBadOutput, "Nie mogę zakodować obrazu PNG");
  output.Write(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace wyk::cli
