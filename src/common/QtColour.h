#pragma once
// The one place where the program's 0x00BBGGRR colours meet Qt's colours.

#include <QColor>

#include "common/Colour.h"

namespace wyk {

inline QColor ToQColor(TColor c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline TColor FromQColor(const QColor& c) {
  return Rgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
             static_cast<uint8_t>(c.blue()));
}

}  // namespace wyk
