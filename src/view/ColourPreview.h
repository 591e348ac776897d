#pragma once
// The configuration dialog's preview of the three colours.

#include "config/Settings.h"
#include "view/Canvas.h"

namespace wyk {

// The dialog's client area, on whose surface the colour preview is drawn.
inline constexpr int kDialogWidth = 294;
inline constexpr int kDialogHeight = 191;
inline constexpr Rect kColourPreview{233, 8, 289, 104};

// Background, grid and a zigzag trace in the three colours, clipped to kColourPreview.
void DrawColourPreview(const Settings& settings, Canvas& surface);

}  // namespace wyk
