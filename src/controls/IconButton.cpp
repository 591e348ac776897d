#include "controls/IconButton.h"

#include <QImage>

namespace wyk {

IconButton::IconButton(QWidget* parent, const QPixmap& picture, const QString& hint)
    : QToolButton(parent) {
  QIcon icon;
  icon.addPixmap(picture, QIcon::Normal);
  icon.addPixmap(Greyed(picture), QIcon::Disabled);
  setIcon(icon);
  setIconSize(picture.size());
  setToolTip(hint);
  setAccessibleName(hint);  // a screen reader says the hint, not "button"
  setAutoRaise(false);
  setFocusPolicy(Qt::NoFocus);
}

QPixmap IconButton::Greyed(const QPixmap& picture) {
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = qGray(line[x]);
      // Dark strokes become mid grey, light ones stay light: the usual disabled look.
      const int shade = 128 + grey / 2;
      line[x] = qRgba(shade, shade, shade, qAlpha(line[x]));
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace wyk
