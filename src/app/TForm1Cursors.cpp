// The main window's measurement cursors, their markers and readouts, and the selection band.
#include "app/TForm1.h"
#include "common/QtText.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

struct CursorWidgets {
  QLabel* pin;
  QLabel* vertical;
  QLabel* horizontal;
  QLabel* time;
  QLabel* value;
};

CursorWidgets WidgetsOf(TForm1& f, Cursor cursor) {
  if (cursor == Cursor::kA) return {f.znAtop, f.znApion, f.znApoziom, f.Label8, f.Label11};
  return {f.znBtop, f.znBpion, f.znBpoziom, f.Label15, f.Label16};
}

void WriteReadout(TForm1& f, Cursor cursor) {
  const CursorWidgets w = WidgetsOf(f, cursor);
  const bool a = cursor == Cursor::kA;
  w.time->setText(
      ToQString(SampleTimeText(f.state.scales, f.state.recording,
                               a ? f.state.cursors.cursorASample : f.state.cursors.cursorBSample)));
  w.value->setText(ToQString(LevelValueText(
      f.state.scales, a ? f.state.cursors.cursorALevel : f.state.cursors.cursorBLevel)));
}

void WriteDifference(TForm1& f) {
  f.Label17->setText(
      ToQString(DifferenceTimeText(f.state.scales, f.state.recording, f.state.cursors)));
  f.Label19->setText(ToQString(DifferenceValueText(f.state.scales, f.state.cursors)));
}

void ShowMarks(TForm1& f, Cursor cursor) {
  const CursorWidgets w = WidgetsOf(f, cursor);
  for (QLabel* marker : {w.pin, w.vertical, w.horizontal}) marker->show();
}

}  // namespace

void TForm1::PlaceCursorMarks(Cursor cursor, const CursorMarks& marks) {
  const CursorWidgets w = WidgetsOf(*this, cursor);
  w.pin->move(marks.pinLeft, 1);
  w.vertical->move(marks.lineLeft, kPlotTop);
  w.horizontal->move(kPlotLeft, marks.lineTop);
}

void TForm1::ToggleCursors() {
  if (state.cursors.cursorsVisible) {
    state.cursors.cursorsVisible = false;
    for (QLabel* marker : {znAtop, znBtop, znApion, znBpion, znApoziom, znBpoziom}) marker->hide();
    emit CursorsSwitched(false);
    return;
  }
  state.cursors.cursorsVisible = true;
  for (const Cursor cursor : {Cursor::kA, Cursor::kB}) {
    PlaceCursorMarks(cursor, PutCursorAtViewStart(state.view, state.cursors, cursor));
    ShowMarks(*this, cursor);
    WriteReadout(*this, cursor);
  }
  for (IconButton* b : {z1, z2, z3, z4, z5}) b->setEnabled(false);
  emit CursorsSwitched(true);
}

void TForm1::HideCursors() {
  state.cursors.cursorsVisible = true;
  ToggleCursors();
}

void TForm1::SnapCursor(Cursor cursor) {
  if (!state.cursors.cursorsVisible) return;
  PlaceCursorMarks(cursor, PutCursorAtViewStart(state.view, state.cursors, cursor));
  ShowMarks(*this, cursor);
  WriteReadout(*this, cursor);
}

void TForm1::PickCursor(int x) {
  wyk::PickCursor(state.cursors, x, znAtop->x(), znBtop->x());
}

void TForm1::DragCursor(int x, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) return;
  // Hidden cursors move too, and their readouts follow.
  if (const std::optional<CursorMarks> marks = wyk::DragCursor(state.view, state.cursors, x)) {
    const Cursor cursor = static_cast<Cursor>(state.cursors.draggedCursor);
    PlaceCursorMarks(cursor, *marks);
    WriteReadout(*this, cursor);
  }
  WriteDifference(*this);
}

void TForm1::FollowScroll() {
  if (!state.cursors.cursorsVisible) return;
  for (const Cursor cursor : {Cursor::kA, Cursor::kB}) {
    const CursorWidgets w = WidgetsOf(*this, cursor);
    const std::optional<CursorMarks> marks = wyk::FollowScroll(state.view, state.cursors, cursor);
    w.pin->setVisible(marks.has_value());
    w.vertical->setVisible(marks.has_value());
    if (!marks) continue;
    w.pin->move(marks->pinLeft, 1);
    w.vertical->move(marks->lineLeft, kPlotTop);
  }
}

void TForm1::BeginSelection(int x, int y) {
  wyk::BeginSelection(state.cursors, x, y);
}

void TForm1::ExtendSelection(int x, int y, Qt::MouseButtons buttons) {
  if (!wyk::ExtendSelection(state.cursors, x, y, buttons & Qt::LeftButton)) return;
  // A live frame leaves the window canvas behind the screen; the band goes over the plot shown.
  if (state.live.recordingActive && !selectionBandShown) PresentPlot(state.view, windowCanvas);
  DrawSelectionBand(state.view, state.cursors, windowCanvas);
  selectionBandShown = true;
  update(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
}

void TForm1::EndSelection() {
  wyk::EndSelection(state.cursors);
}

}  // namespace wyk
