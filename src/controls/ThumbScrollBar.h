#pragma once
// A horizontal scroll bar whose thumb length in pixels is set on its own, apart from the page
// size (QScrollBar ties the two together). Arrow buttons move by the small change, clicks beside
// the thumb by the large change, both repeating while held; the thumb drags; the keys Left,
// Right, PageUp, PageDown, Home and End work while it has the focus. Scroll follows every one of
// these user actions, also when the position stays, and continuously while the thumb moves.

#include <QTimer>
#include <QWidget>

#include "view/ScrollBarState.h"

namespace wyk {

class ThumbScrollBar : public QWidget {
  Q_OBJECT
 public:
  explicit ThumbScrollBar(QWidget* parent);

  int value() const { return bar_.position; }
  int maximum() const { return bar_.maximum; }
  int singleStep() const { return bar_.smallChange; }
  int pageStep() const { return bar_.largeChange; }
  int thumbLength() const { return bar_.thumbLength; }
  // A maximum below 0 becomes 0 and brings the position down with it.
  void setMaximum(int maximum) {
    Change([&] { bar_.SetMaximum(maximum); });
  }
  // Held within 0 … maximum.
  void setValue(int position) {
    Change([&] { bar_.SetPosition(position); });
  }
  void setSingleStep(int step) { bar_.smallChange = step; }
  void setPageStep(int step) { bar_.largeChange = step; }
  // Pixels, 10 … 500; never drawn longer than the track.
  void setThumbLength(int pixels) {
    Change([&] { bar_.thumbLength = pixels; });
  }

  // The user's actions, also for keys and the wheel elsewhere: move and raise Scroll.
  void ScrollBy(int64_t delta);
  void ScrollTo(int64_t position);

  int ArrowWidth() const { return height(); }
  int TrackLength() const { return width() - 2 * ArrowWidth(); }
  // The thumb in widget pixels.
  QRect ThumbRect() const;

 signals:
  void Scroll(int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Part { kNone, kLeftArrow, kRightArrow, kPageLeft, kPageRight, kThumb };
  template <typename F>
  void Change(F change) {
    change();
    update();
  }
  Part PartAt(int x) const;
  void Act();  // the held part's action once
  void Repeat();

  ScrollBarState bar_;
  Part held_ = Part::kNone;
  int pressX_ = 0;
  int grabOffset_ = 0;  // mouse x minus the thumb's left while it is dragged
  QTimer repeat_;
};

}  // namespace wyk
