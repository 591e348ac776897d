#include "controls/ThumbScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>


namespace wyk {
namespace {

constexpr int kFirstRepeatMs = 350;
constexpr int kRepeatMs = 50;
const QColor kFace(0xC0, 0xC0, 0xC0);
const QColor kShadow(0x80, 0x80, 0x80);

void Bevel(QPainter& p, const QRect& r, bool sunken) {
  p.fillRect(r, kFace);
  if (sunken) {
    p.setPen(kShadow);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    return;
  }
  p.setPen(Qt::white);
  p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
  p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
  p.setPen(Qt::black);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  p.setPen(kShadow);
  p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() - QPoint(1, 1));
  p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() - QPoint(1, 1));
}

void Arrow(QPainter& p, const QRect& r, bool left, bool enabled, bool sunken) {
  const QPoint c = r.center() + (sunken ? QPoint(1, 1) : QPoint(0, 0));
  const int d = left ? -1 : 1;
  const QPolygon tip({c + QPoint(2 * d, 0), c + QPoint(-2 * d, -4), c + QPoint(-2 * d, 4)});
  p.setPen(Qt::NoPen);
  p.setBrush(enabled ? Qt::black : kShadow);
  p.drawPolygon(tip);
}

}  // namespace

ThumbScrollBar::ThumbScrollBar(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::ClickFocus);
  repeat_.setSingleShot(true);
  // The handlers of Scroll run guarded where the window connects them.
  connect(&repeat_, &QTimer::timeout, this, &ThumbScrollBar::Repeat);
}

QRect ThumbScrollBar::ThumbRect() const {
  const int track = TrackLength();
  return {ArrowWidth() + bar_.ThumbOffset(track), 0, bar_.ThumbPixels(track), height()};
}

void ThumbScrollBar::ScrollBy(int64_t delta) {
  ScrollTo(int64_t{bar_.position} + delta);
}

void ThumbScrollBar::ScrollTo(int64_t position) {
  Change([&] { bar_.SetPosition(position); });
  emit Scroll(bar_.position);
}

ThumbScrollBar::Part ThumbScrollBar::PartAt(int x) const {
  if (x < ArrowWidth()) return Part::kLeftArrow;
  if (x >= width() - ArrowWidth()) return Part::kRightArrow;
  const QRect thumb = ThumbRect();
  if (x < thumb.left()) return Part::kPageLeft;
  if (x > thumb.right()) return Part::kPageRight;
  return Part::kThumb;
}

void ThumbScrollBar::Act() {
  switch (held_) {
    case Part::kLeftArrow:
      return ScrollBy(-int64_t{bar_.smallChange});
    case Part::kRightArrow:
      return ScrollBy(bar_.smallChange);
    // Paging stops once the thumb has reached the mouse.
    case Part::kPageLeft:
      if (PartAt(pressX_) == Part::kPageLeft) ScrollBy(-int64_t{bar_.largeChange});
      return;
    case Part::kPageRight:
      if (PartAt(pressX_) == Part::kPageRight) ScrollBy(bar_.largeChange);
      return;
    default:
      return;
  }
}

void ThumbScrollBar::Repeat() {
  if (held_ == Part::kNone || held_ == Part::kThumb) return;
  Act();
  repeat_.start(kRepeatMs);
}

void ThumbScrollBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressX_ = event->position().toPoint().x();
  held_ = PartAt(pressX_);
  if (held_ == Part::kThumb) {
    grabOffset_ = pressX_ - ThumbRect().left();
  } else {
    Act();
    repeat_.start(kFirstRepeatMs);
  }
  update();
}

void ThumbScrollBar::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (held_ != Part::kThumb) {
    pressX_ = x;
    return;
  }
  const int32_t position = bar_.PositionAtThumb(x - grabOffset_ - ArrowWidth(), TrackLength());
  if (position != bar_.position) ScrollTo(position);
}

void ThumbScrollBar::mouseReleaseEvent(QMouseEvent*) {
  held_ = Part::kNone;
  repeat_.stop();
  update();
}

void ThumbScrollBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      return ScrollBy(-int64_t{bar_.smallChange});
    case Qt::Key_Right:
      return ScrollBy(bar_.smallChange);
    case Qt::Key_PageUp:
      return ScrollBy(-int64_t{bar_.largeChange});
    case Qt::Key_PageDown:
      return ScrollBy(bar_.largeChange);
    case Qt::Key_Home:
      return ScrollTo(0);
    case Qt::Key_End:
      return ScrollTo(bar_.maximum);
    default:
      event->ignore();
  }
}

void ThumbScrollBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int a = ArrowWidth();
  const QRect track(a, 0, TrackLength(), height());
  p.fillRect(track, Qt::white);
  p.fillRect(track, QBrush(kFace, Qt::Dense4Pattern));
  const QRect thumb = ThumbRect();
  if (held_ == Part::kPageLeft) p.fillRect(QRect(a, 0, thumb.left() - a, height()), Qt::black);
  if (held_ == Part::kPageRight)
    p.fillRect(QRect(thumb.right() + 1, 0, track.right() - thumb.right(), height()), Qt::black);
  const QRect left(0, 0, a, height());
  const QRect right(width() - a, 0, a, height());
  Bevel(p, left, held_ == Part::kLeftArrow);
  Bevel(p, right, held_ == Part::kRightArrow);
  Arrow(p, left, true, isEnabled(), held_ == Part::kLeftArrow);
  Arrow(p, right, false, isEnabled(), held_ == Part::kRightArrow);
  if (isEnabled()) Bevel(p, thumb, false);
}

}  // namespace wyk
