#pragma once
// The small caption font. The original bitmap font is not available, so DejaVu Sans
// stands in at the same pixel height and the positions stay as designed.

#include <QFont>

namespace wyk {

inline QFont SmallFont(int pixelSize = 8, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// The window's default font, 11 px.
inline QFont DefaultFont() {
  return SmallFont(11);
}

}  // namespace wyk
