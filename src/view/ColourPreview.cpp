#include "view/ColourPreview.h"

namespace wyk {

void DrawColourPreview(const Settings& settings, Canvas& surface) {
  const Rect r = kColourPreview;
  // The last stroke of the trace runs to x 289; a canvas ending at the preview's right and
  // bottom edges keeps it inside.
  Canvas preview(r.right, r.bottom);
  preview.SetBrushColor(settings.backgroundColor);
  preview.SetPenColor(settings.gridColor);
  preview.Rectangle(r.left, r.top, r.right, r.bottom);
  for (int y : {33, 58, 83}) {
    preview.MoveTo(r.left, y);
    preview.LineTo(r.right, y);
  }
  for (int x : {258, 283}) {
    preview.MoveTo(x, r.top);
    preview.LineTo(x, r.bottom);
  }
  preview.SetPenColor(settings.lineColor);
  preview.MoveTo(233, 103);
  preview.LineTo(258, 15);
  preview.LineTo(283, 103);
  preview.LineTo(289, 15);
  surface.CopyRect(preview, r, r.left, r.top);
}

}  // namespace wyk
