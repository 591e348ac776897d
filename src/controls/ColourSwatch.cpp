#include "controls/ColourSwatch.h"

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
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit Pressed();
}

}  // namespace wyk
