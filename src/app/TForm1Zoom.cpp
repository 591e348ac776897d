// The main window's zoom buttons, its scroll bar's handler, and the wheel and keys that do the
// same through them.
#include "app/TForm1.h"
#include "common/QtText.h"
#include "view/ZoomScroll.h"

namespace wyk {

void TForm1::ShowViewAt() {
  PlaceView(state.recording, state.view);
  DrawView(state.settings, state.scales, state.view, windowCanvas);
  selectionBandShown = false;
  DrawScales(state.scales.timeScaleAbsolute);
}

void TForm1::ScrollBar1Scroll() {
  if (!state.recording.dataFileOpen || state.recording.sampleCount == 0)
    return;  // nothing to browse
  state.cursors.selectionValid = false;
  ShowViewAt();
  if (state.cursors.cursorsVisible) FollowScroll();
}

void TForm1::z1Click() {
  const std::string label = ShowAll(state.recording, state.view);
  SyncScrollBar();
  ShowViewAt();
  ZoomLabel->setText(ToQString(label));
}

void TForm1::z2Click() {
  ZoomLabel->setText(ToQString(ZoomOff(state.recording, state.view)));
  SyncScrollBar();
  ShowViewAt();
}

void TForm1::z3Click() {
  ZoomLabel->setText(ToQString(ZoomIn(state.recording, state.view)));
  SyncScrollBar();
  ShowViewAt();
}

void TForm1::z4Click() {
  const std::optional<std::string> label = ZoomOut(state.recording, state.view);
  if (!label) return;
  ZoomLabel->setText(ToQString(*label));
  SyncScrollBar();
  ShowViewAt();
}

void TForm1::z5Click() {
  const std::optional<std::string> label =
      ZoomToSelection(state.recording, state.view, state.cursors);
  if (!label) return;
  ZoomLabel->setText(ToQString(*label));
  SyncScrollBar();
  ScrollBar1Scroll();
}

bool TForm1::ViewWheel(int steps, Qt::KeyboardModifiers modifiers) {
  if (steps == 0) return false;
  if (modifiers & Qt::ControlModifier) {
    // Away from the user zooms in, as "Powiększ"; towards the user out, as "Zmniejsz".
    IconButton* button = steps > 0 ? z3 : z4;
    for (int i = 0; i < std::abs(steps) && button->isEnabled(); ++i) button->click();
    return true;
  }
  if (!ScrollBar1->isEnabled()) return true;
  const int64_t stride = (modifiers & Qt::ShiftModifier) ? int64_t{kPlotWidth} * state.view.zoomStep
                                                         : int64_t{ScrollBar1->pageStep()};
  ScrollBar1->ScrollBy(-steps * stride);
  return true;
}

bool TForm1::ViewKey(int key) {
  switch (key) {
    case Qt::Key_Plus:
      if (z3->isEnabled()) z3->click();
      return true;
    case Qt::Key_Minus:
      if (z4->isEnabled()) z4->click();
      return true;
    default:
      break;
  }
  if (!ScrollBar1->isEnabled()) return false;
  switch (key) {
    case Qt::Key_Left:
      ScrollBar1->ScrollBy(-int64_t{ScrollBar1->singleStep()});
      return true;
    case Qt::Key_Right:
      ScrollBar1->ScrollBy(ScrollBar1->singleStep());
      return true;
    case Qt::Key_PageUp:
      ScrollBar1->ScrollBy(-int64_t{ScrollBar1->pageStep()});
      return true;
    case Qt::Key_PageDown:
      ScrollBar1->ScrollBy(ScrollBar1->pageStep());
      return true;
    case Qt::Key_Home:
      ScrollBar1->ScrollTo(0);
      return true;
    case Qt::Key_End:
      ScrollBar1->ScrollTo(ScrollBar1->maximum());
      return true;
    default:
      return false;
  }
}

}  // namespace wyk
