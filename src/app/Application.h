#pragma once
// The application object: Qt's standard dialogs speak Polish; an error that escapes an event
// handler is shown in a message box with its text, and the event loop goes on.

#include <QApplication>

namespace wyk {

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The standard error box: the application's title as caption, the error's text, OK.
  static void ShowError(const QString& text);
};

}  // namespace wyk
