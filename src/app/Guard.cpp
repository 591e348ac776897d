#include "app/Guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <exception>

#include "app/Application.h"

namespace wyk {
namespace {

bool boxOpen = false;
QString lastShown;  // not shown again until the user acts

// A click or a key outside the error box is a user action: the same error may come again.
class UserActions : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (!boxOpen && (type == QEvent::MouseButtonPress || type == QEvent::KeyPress))
      lastShown.clear();
    return false;
  }
};

void WatchUserActions() {
  static bool watching = false;
  if (watching || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(new UserActions(QCoreApplication::instance()));
  watching = true;
}

// False when the error is not to be shown now; otherwise it counts as shown.
bool TakeForShowing(const QString& text) {
  if (boxOpen || text == lastShown) return false;
  WatchUserActions();
  lastShown = text;
  return true;
}

void ShowNow(const QString& text) {
  boxOpen = true;
  Application::ShowError(text);
  boxOpen = false;
}

QString TextOf(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return "Nieznany błąd";
  }
}

}  // namespace

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    const QString text = TextOf(std::current_exception());
    if (TakeForShowing(text)) ShowNow(text);
  }
}

void PaintGuarded(const std::function<void()>& paint) {
  try {
    paint();
  } catch (...) {
    // A modal box inside a paint would paint within the paint.
    const QString text = TextOf(std::current_exception());
    if (TakeForShowing(text)) QTimer::singleShot(0, [text] { ShowNow(text); });
  }
}

}  // namespace wyk
