#pragma once
// Cursors A and B and the selection dragged over the plot.

#include <cstdint>

#include "view/Canvas.h"

namespace wyk {

struct CursorState {
  bool cursorsVisible = false;
  int32_t cursorASample = 0;
  int32_t cursorBSample = 0;
  int32_t cursorALevel = 0;
  int32_t cursorBLevel = 0;
  uint8_t draggedCursor = 0;
  int32_t selectionStart = 0;
  int32_t selectionEnd = 0;
  bool selectionValid = false;
  Canvas selectionBitmap;  // the grey band inverted over the plot
};

}  // namespace wyk
