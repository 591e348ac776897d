#include "controls/ColourSwatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace wyk {

ColourSwatch::ColourSwatch(QWidget* parent, const QRect& geometry) : QWidget(parent) {
  setGeometry(geometry);
}

void ColourSwatch::SetColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), colour_);
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (hasFocus()) {  // a dotted frame inside the outline, seen on any colour
    painter.setPen(QPen(colour_.lightness() < 128 ? Qt::white : Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
  }
}

void ColourSwatch::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QWidget::keyPressEvent(event);
  event->accept();
  emit Pressed();
}

void ColourSwatch::focusInEvent(QFocusEvent*) {
  update();
}

void ColourSwatch::focusOutEvent(QFocusEvent*) {
  update();
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit Pressed();
}

}  // namespace wyk
