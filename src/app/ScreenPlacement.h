#pragma once
// Windows at their designed places, kept on the screen whatever its size and scale factor.

#include <QPoint>
#include <QSize>
#include <QWidget>

namespace wyk {

// `designed`, the top-left corner of a window whose frame is `size`, moved as little as needed
// for the window to lie on the available area of the screen there (or the primary screen); a
// window larger than that area keeps its top or left edge on the area's.
QPoint PlacedOnScreen(QPoint designed, QSize size);

// The same for `window` at its first showing, when its frame is known.
void KeepOnScreenWhenShown(QWidget& window);

// The same for `window` now, its frame as known now.
void KeepOnScreen(QWidget& window);

}  // namespace wyk
