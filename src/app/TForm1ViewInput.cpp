// Wiring of the view's controls and of the mouse, wheel and keys on the strip above the plot and
// on the window's own surface.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/Guard.h"
#include "app/TForm1.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

QPoint At(const QMouseEvent* event) {
  return event->position().toPoint();
}

// The strip keeps the mouse from a press until the release, so its moves may lie outside it.
class StripInput : public QObject {
 public:
  explicit StripInput(TForm1& form) : QObject(&form), form_(form) {}
  bool eventFilter(QObject*, QEvent* event) override {
    bool used = false;
    RunGuarded([&] { used = Handle(event); });
    return used;
  }

 private:
  bool Handle(QEvent* event) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        form_.PickCursor(At(static_cast<QMouseEvent*>(event)).x());
        return true;
      case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        form_.DragCursor(At(mouse).x(), mouse->buttons());
        return true;
      }
      default:
        return false;
    }
  }

  TForm1& form_;
};

// Mouse on the window's surface (the selection), the wheel over the plot, and the keys.
class SurfaceInput : public QObject {
 public:
  explicit SurfaceInput(TForm1& form) : QObject(&form), form_(form) {}
  bool eventFilter(QObject*, QEvent* event) override {
    bool used = false;
    RunGuarded([&] { used = Handle(event); });
    return used;
  }

 private:
  bool Handle(QEvent* event) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        const QPoint p = At(static_cast<QMouseEvent*>(event));
        form_.BeginSelection(p.x(), p.y());
        return false;
      }
      case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        form_.ExtendSelection(At(mouse).x(), At(mouse).y(), mouse->buttons());
        return true;
      }
      case QEvent::MouseButtonRelease:
        form_.EndSelection();
        return true;
      case QEvent::Wheel:
        return Wheel(static_cast<QWheelEvent*>(event));
      case QEvent::KeyPress: {
        // The file-name box keeps its own keys.
        if (form_.FileNameEdit->Edit()->hasFocus()) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Menu) {
          form_.ShowPlotMenu(form_.mapToGlobal(QPoint(kPlotLeft, kPlotTop)));
          return true;
        }
        return form_.ViewKey(key);
      }
      default:
        return false;
    }
  }

  bool Wheel(QWheelEvent* wheel) {
    const QPoint p = wheel->position().toPoint();
    if (!QRect(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight).contains(p)) return false;
    const QPoint delta = wheel->angleDelta();
    // Fine-grained wheels send parts of a notch; they add up to whole steps.
    eighths_ += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = eighths_ / 120;
    eighths_ -= steps * 120;
    form_.ViewWheel(steps, wheel->modifiers());
    return true;
  }

  TForm1& form_;
  int eighths_ = 0;  // eighths of a degree not yet used
};

}  // namespace

void TForm1::ConnectViewHandlers() {
  connect(ScrollBar1, &ThumbScrollBar::Scroll, this, Guard([this](int position) {
            state.view.scrollBar.SetPosition(position);
            ScrollBar1Scroll();
          }));
  connect(z1, &QToolButton::clicked, this, Guard(this, &TForm1::z1Click));
  connect(z2, &QToolButton::clicked, this, Guard(this, &TForm1::z2Click));
  connect(z3, &QToolButton::clicked, this, Guard(this, &TForm1::z3Click));
  connect(z4, &QToolButton::clicked, this, Guard(this, &TForm1::z4Click));
  connect(z5, &QToolButton::clicked, this, Guard(this, &TForm1::z5Click));
  connect(CursorsButton, &QToolButton::clicked, this, Guard(this, &TForm1::ToggleCursors));
  connect(SnapAButton, &QToolButton::clicked, this, Guard([this] { SnapCursor(Cursor::kA); }));
  connect(SnapBButton, &QToolButton::clicked, this, Guard([this] { SnapCursor(Cursor::kB); }));
  z3->setToolTip(z3->toolTip() + "\nKlawisz + albo Ctrl i kółko myszy od siebie");
  z4->setToolTip(z4->toolTip() + "\nKlawisz - albo Ctrl i kółko myszy do siebie");
  ScrollBar1->setToolTip(
      "Kółko myszy nad wykresem: o jedną działkę, z Shift: o szerokość wykresu\n"
      "Klawisze: strzałki, PageUp, PageDown, Home, End");

  // A's pin over B's; B's lines over A's. Presses on the markers belong to what lies beneath.
  znBtop->stackUnder(znAtop);
  znApoziom->stackUnder(znBpion);
  for (QLabel* marker : {znAtop, znBtop, znApion, znBpion, znApoziom, znBpoziom})
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);

  Panel2->installEventFilter(new StripInput(*this));
  installEventFilter(new SurfaceInput(*this));
  // A click on the plot or the strip takes the focus from the file-name box, so keys reach here.
  setFocusPolicy(Qt::ClickFocus);
}

}  // namespace wyk
