#include "view/QtTextDrawer.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace wyk {
namespace {

QFont SmallFont(const QString& family, int pixelSize) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  // Crisp pixels, as the bitmap font it stands in for gives.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QColor QtColour(TColor colour) {
  return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

}  // namespace

QtTextDrawer::QtTextDrawer(const QString& family, int pixelSize)
    : font_(SmallFont(family, pixelSize)), metrics_(font_) {}

int QtTextDrawer::TextWidth(const std::string& utf8) {
  return metrics_.horizontalAdvance(
      QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void QtTextDrawer::DrawText(Canvas& canvas, int left, int top, const std::string& utf8,
                            TColor textColour, TColor backgroundColour) {
  if (canvas.Width() == 0 || canvas.Height() == 0) return;
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QImage image(canvas.Bits(), canvas.Width(), canvas.Height(), canvas.BytesPerLine(),
               QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(font_);
  painter.fillRect(left, top, metrics_.horizontalAdvance(text), metrics_.height(),
                   QtColour(backgroundColour));
  painter.setPen(QtColour(textColour));
  painter.drawText(left, top + metrics_.ascent(), text);
}

}  // namespace wyk
