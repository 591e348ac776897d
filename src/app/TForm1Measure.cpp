// The main window's measurements: "Pomiary…" and "Obwiednia" in the plot menu, and the summary
// of the recording that the envelope view is drawn from.
#include "app/Guard.h"
#include "app/TForm1.h"
#include "config/Settings.h"
#include "view/RecordingView.h"

namespace wyk {

void TForm1::BuildMeasureMenu() {
  PlotMenu->addSeparator();
  MeasureAction = PlotMenu->addAction("Pomiary…", this, Guard(this, &TForm1::ShowMeasurements));
  EnvelopeAction = PlotMenu->addAction("Obwiednia", this, Guard(this, &TForm1::ToggleEnvelope));
  EnvelopeAction->setCheckable(true);
  EnvelopeAction->setToolTip("Każda kolumna od najmniejszej do największej próbki");
  summaryWatcher = new SummaryWatcher(state.recording, this);
  connect(summaryWatcher, &SummaryWatcher::Ready, this, Guard(this, &TForm1::SummaryReady));
}

void TForm1::ShowMeasurements() {
  if (measurementWindow) {
    measurementWindow->show();
    measurementWindow->raise();
  }
}

void TForm1::ToggleEnvelope() {
  state.settings.envelopeView = state.view.envelopeShown = EnvelopeAction->isChecked();
  SummaryReady();  // draws the view the new way
  SaveEnvelopeView(state.settings, settingsPath);
}

void TForm1::SummaryReady() {
  if (!state.recording.dataFileOpen || state.live.recordingActive) return;
  ReadWindow(state.recording, state.view, state.view.zoomStep);
  RedrawRecording();
}

}  // namespace wyk
