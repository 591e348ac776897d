#include "app/Application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace wyk {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Wykresownik");
  // Qt's own texts (standard buttons, file and colour dialogs) in Polish; without the
  // translations installed they stay English.
  auto* translator = new QTranslator(this);
  if (translator->load("qtbase_pl", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(translator);
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
