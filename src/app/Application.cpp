#include "app/Application.h"

#include <QMessageBox>
#include <exception>

namespace wyk {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Wykresownik");
  // Lets the desktop match the windows to the installed menu entry and its icon.
  setDesktopFileName("io.github.wykresownik.Wykresownik");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowError("Nieznany błąd");
  }
  return false;
}

void Application::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, applicationName(), text, QMessageBox::Ok);
  box.exec();
}

}  // namespace wyk
