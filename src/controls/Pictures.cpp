#include "controls/Pictures.h"

#include <QPainter>
#include <QPainterPath>

#include "controls/Fonts.h"

namespace wyk::pictures {
namespace {

QPixmap Blank(int w, int h) {
  QPixmap p(w, h);
  p.fill(Qt::transparent);
  return p;
}

void DrawMagnifier(QPainter& p, int cx, int cy, int r) {
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(QPointF(cx, cy), r, r);
  p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(cx + r * 0.75, cy + r * 0.75), QPointF(cx + r * 1.7, cy + r * 1.7));
}

}  // namespace

QPixmap ZoomIcon(Zoom kind) {
  QPixmap pix = Blank(22, 22);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  if (kind == Zoom::All) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 17);
    for (int y = 5; y < 17; y += 3) p.drawLine(3, y, 11, y);
  }
  if (kind == Zoom::Selection) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 19, 19);
  }
  DrawMagnifier(p, 10, 10, 6);
  p.setPen(QPen(Qt::black, 1.5));
  if (kind == Zoom::In || kind == Zoom::Out) p.drawLine(QPointF(7, 10), QPointF(13, 10));
  if (kind == Zoom::In) p.drawLine(QPointF(10, 7), QPointF(10, 13));
  if (kind == Zoom::Off) {
    p.setFont(SmallFont(7, true));
    p.drawText(QRect(4, 4, 13, 12), Qt::AlignCenter, "1:1");
  }
  return pix;
}

QPixmap TimeScaleIcon(const QString& text) {
  QPixmap pix = Blank(22, 24);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setFont(SmallFont(7, true));
  p.drawText(QRect(0, 0, 22, 9), Qt::AlignCenter, text);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(11, 16), 7, 7);
  p.drawLine(QPointF(11, 16), QPointF(11, 11));
  p.drawLine(QPointF(11, 16), QPointF(15, 16));
  return pix;
}

QPixmap CursorsIcon() {
  QPixmap pix = Blank(22, 24);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(SmallFont(7, true));
  p.setPen(QColor(0, 128, 0));
  p.drawText(QRect(2, 0, 8, 9), Qt::AlignCenter, "A");
  p.setPen(QColor(0, 0, 200));
  p.drawText(QRect(12, 0, 8, 9), Qt::AlignCenter, "B");
  p.setPen(QPen(QColor(0, 128, 0), 1, Qt::DotLine));
  p.drawLine(6, 10, 6, 23);
  p.setPen(QPen(QColor(0, 0, 200), 1, Qt::DotLine));
  p.drawLine(16, 10, 16, 23);
  QPainterPath wave;
  wave.moveTo(1, 17);
  wave.cubicTo(6, 9, 9, 9, 11, 17);
  wave.cubicTo(13, 25, 17, 25, 21, 17);
  p.setPen(QPen(Qt::black, 1.2));
  p.drawPath(wave);
  return pix;
}

QPixmap SnapIcon(QChar cursor) {
  QPixmap pix = Blank(22, 24);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = cursor == 'A' ? QColor(0, 128, 0) : QColor(0, 0, 200);
  p.setPen(QPen(colour, 1, Qt::DotLine));
  p.drawLine(17, 2, 17, 23);
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(QPointF(2, 16), QPointF(14, 16));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({QPointF(15, 16), QPointF(11, 13), QPointF(11, 19)}));
  p.setPen(colour);
  p.setFont(SmallFont(9, true));
  p.drawText(QRect(1, 1, 12, 11), Qt::AlignCenter, cursor);
  return pix;
}

QPixmap FftIcon() {
  QPixmap pix = Blank(24, 24);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  p.setFont(SmallFont(8, true));
  p.drawText(QRect(0, 0, 24, 10), Qt::AlignCenter, "FFT");
  p.setPen(QPen(QColor(0, 128, 0), 1.2));
  const QPointF spectrum[] = {{1, 23},  {4, 22},  {6, 13},  {8, 22},  {11, 21},
                              {13, 16}, {15, 22}, {18, 22}, {20, 19}, {23, 23}};
  p.drawPolyline(spectrum, 10);
  return pix;
}

QPixmap Knob() {
  QPixmap pix = Blank(80, 80);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient body(QPointF(34, 34), 40);
  body.setColorAt(0, QColor(90, 90, 90));
  body.setColorAt(1, QColor(20, 20, 20));
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(body);
  p.drawEllipse(QPointF(40, 40), 26, 26);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(40, 40), 17, 17);
  // Ridges around the rim.
  p.setPen(QPen(QColor(130, 130, 130), 1));
  for (int i = 0; i < 24; ++i) {
    p.save();
    p.translate(40, 40);
    p.rotate(i * 15);
    p.drawLine(QPointF(19, 0), QPointF(25, 0));
    p.restore();
  }
  return pix;
}

QPixmap PointerDot() {
  QPixmap pix = Blank(7, 7);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(120, 0, 0));
  p.setBrush(QColor(255, 40, 40));
  p.drawEllipse(QRectF(0.5, 0.5, 6, 6));
  return pix;
}

QPixmap Switch(Lever lever) {
  QPixmap pix = Blank(16, 64);
  QPainter p(&pix);
  p.setPen(Qt::black);
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(4, 2, 7, 59);  // the slot
  const int top = lever == Lever::Up ? 3 : lever == Lever::Middle ? 24 : 45;
  p.setBrush(QColor(230, 230, 230));
  p.drawRect(1, top, 13, 15);
  p.setPen(QColor(120, 120, 120));
  for (int y = top + 4; y < top + 13; y += 3) p.drawLine(3, y, 12, y);
  return pix;
}

QPixmap CursorPin(const QColor& centre) {
  QPixmap pix = Blank(11, 10);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(QColor(80, 80, 80));
  p.drawPolygon(QPolygonF({QPointF(0.5, 0.5), QPointF(10.5, 0.5), QPointF(5.5, 9.5)}));
  p.setPen(Qt::NoPen);
  p.setBrush(centre);
  p.drawEllipse(QPointF(5.5, 3.5), 2.2, 2.2);
  return pix;
}

QPixmap DashedLine(const QColor& colour, int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const int length = width > height ? width : height;
  for (int i = 0; i < length; ++i) {
    if (i % 4 == 3) continue;  // the white pixel, see-through
    if (width > height)
      image.setPixelColor(i, 0, colour);
    else
      image.setPixelColor(0, i, colour);
  }
  return QPixmap::fromImage(image);
}

QPixmap Logo() {
  QPixmap pix = Blank(75, 19);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(0.5, 0.5, 24, 18), 3, 3);
  p.setPen(QPen(QColor(0, 128, 0), 1));
  for (int x = 6; x < 24; x += 6) p.drawLine(QPointF(x + 0.5, 2), QPointF(x + 0.5, 17));
  p.drawLine(QPointF(2, 9.5), QPointF(23, 9.5));
  QPainterPath trace;
  trace.moveTo(2, 9.5);
  trace.cubicTo(6, 0, 9, 0, 12.5, 9.5);
  trace.cubicTo(16, 19, 19, 19, 23, 9.5);
  p.setPen(QPen(QColor(0, 255, 0), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trace);
  p.setPen(QColor(0, 0, 128));
  p.setFont(SmallFont(11, true));
  p.drawText(QRect(27, 0, 48, 19), Qt::AlignCenter, "KWARN");
  return pix;
}

}  // namespace wyk::pictures
