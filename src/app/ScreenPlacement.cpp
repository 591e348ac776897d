#include "app/ScreenPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace wyk {
namespace {

class FirstShowing : public QObject {
 public:
  explicit FirstShowing(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      KeepOnScreen(*static_cast<QWidget*>(target));
      deleteLater();
    }
    return false;
  }
};

}  // namespace

QPoint PlacedOnScreen(QPoint designed, QSize size) {
  const QScreen* screen = QGuiApplication::screenAt(designed);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return designed;
  const QRect area = screen->availableGeometry();
  const auto fit = [](int at, int length, int first, int end) {
    return std::max(first, std::min(at, end - length));
  };
  return {fit(designed.x(), size.width(), area.left(), area.left() + area.width()),
          fit(designed.y(), size.height(), area.top(), area.top() + area.height())};
}

void KeepOnScreenWhenShown(QWidget& window) {
  new FirstShowing(window);
}

void KeepOnScreen(QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QPoint placed = PlacedOnScreen(frame.topLeft(), frame.size());
  if (placed != frame.topLeft()) window.move(placed);
}

}  // namespace wyk
