// The main window's scale selectors and the drawing of its scale layer.
#include <QPixmap>

#include "app/ShownAdapterType.h"
#include "app/TForm1.h"
#include "common/QtText.h"
#include "view/PlotRenderer.h"
#include "view/ScaleRenderer.h"
#include "view/Selectors.h"

namespace wyk {

QLabel* TForm1::SwitchPicture(int number) const {
  return number == 1 ? Przel1 : number == 2 ? Przel2 : Przel3;
}

void TForm1::DrawScaleLayer(bool absoluteTime) {
  Settings shown = state.settings;
  shown.adapterType = ShownAdapterType(state);
  wyk::DrawScales(shown, state.scales, state.recording, state.view, windowCanvas, textDrawer,
                  absoluteTime, state.view.scrollBar.position,
                  [this](const ScaleCaptions& captions) {
                    Label21->setText(QString::fromStdString(captions.voltsPerDiv));
                    Label22->setText(QString::fromStdString(captions.samplePeriod));
                  });
}

void TForm1::DrawScales(bool absoluteTime) {
  DrawScaleLayer(absoluteTime);
  update();
}

void TForm1::FormPaint() {
  // The surface already holds the last plot; copying it again would wipe the selection band.
  if (!selectionBandShown) PresentPlot(state.view, windowCanvas);
  DrawScaleLayer(state.scales.timeScaleAbsolute);
}

void TForm1::SelectSamplePeriodClick(int vdButton) {
  SelectSamplePeriod(state.scales, vdButton);
  DrawScales(state.scales.timeScaleAbsolute);
}

void TForm1::SelectVoltsClick(int speedButton) {
  const VoltsPerDivRow& row = kVoltsPerDivRows.at(static_cast<size_t>(speedButton - 1));
  Image4->move(row.pointerLeft, row.pointerTop);
  SetVoltsPerDivScale(state.scales, row);
  DrawScales(state.scales.timeScaleAbsolute);
  SetVoltsPerDivRange(state.scales, row);
}

void TForm1::SelectCouplingClick(int speedButton) {
  const CouplingRow& row = SelectCoupling(state.scales, speedButton);
  Przelacznik->setPixmap(SwitchPicture(static_cast<int>(row.picture))->pixmap());
  Label23->setText(ToQString(row.label23));
}

void TForm1::SelectTimeScaleClick(bool absolute) {
  SelectTimeScale(state.scales, absolute);
  DrawScales(absolute);
}

// While a recording runs its buttons stay locked and its coupling stays as sent at Start;
// Stop applies the limits.
void TForm1::ApplyType1Limits() {
  if (state.live.recordingActive) return;
  wyk::ApplyType1Limits(state.scales);
  for (std::string_view name : kType1Limits.disabledButtons)
    findChild<QWidget*>(ToQString(name))->setEnabled(false);
  Image4->move(kType1Limits.pointerLeft, kType1Limits.pointerTop);
  Przelacznik->setPixmap(SwitchPicture(static_cast<int>(kType1Limits.picture))->pixmap());
  Label23->setText(ToQString(kType1Limits.label23));
}

void TForm1::LiftType1Limits() {
  if (state.live.recordingActive) return;
  for (std::string_view name : kType1Limits.disabledButtons)
    findChild<QWidget*>(ToQString(name))->setEnabled(true);
}

}  // namespace wyk
