#pragma once
// TextDrawer on QPainter: the canvas's pixels are wrapped in a QImage and painted in place.
// "DejaVu Sans" at 8 pixels stands in for the bitmap font "MiniTot"; positions are unchanged.
// Needs a QGuiApplication.

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include "view/TextDrawer.h"

namespace wyk {

class QtTextDrawer : public TextDrawer {
 public:
  explicit QtTextDrawer(const QString& family = QStringLiteral("DejaVu Sans"), int pixelSize = 8);

  int TextWidth(const std::string& utf8) override;
  void DrawText(Canvas& canvas, int left, int top, const std::string& utf8, TColor textColour,
                TColor backgroundColour) override;

  // Height of the opaque cell behind a text.
  int TextHeight() const { return metrics_.height(); }

 private:
  QFont font_;
  QFontMetrics metrics_;
};

}  // namespace wyk
