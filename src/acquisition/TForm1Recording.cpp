// The main window's live recording: "Start", the ticks of Timer1 and "Stop".
#include <QSignalBlocker>

#include "acquisition/SerialTexts.h"
#include "app/Guard.h"
#include "app/TForm1.h"
#include "common/LocalClock.h"
#include "storage/Recordings.h"
#include "view/PlotRenderer.h"

namespace wyk {

void TForm1::ConnectRecordingControls() {
  connect(StartButton, &QToolButton::clicked, this, Guard(this, &TForm1::StartRecording));
  connect(StopButton, &QToolButton::clicked, this, Guard(this, &TForm1::StopRecording));
  connect(Timer1, &QTimer::timeout, this, Guard(this, &TForm1::Timer1Timer));
}

// The selectors and the scroll bar keep the recording's settings; "Nowy", "Otworz" and the
// browse button would replace the file being written.
void TForm1::SetAcquisitionControlsEnabled(bool enabled) {
  for (QToolButton* b : speedButtons) b->setEnabled(enabled);
  for (QToolButton* b : samplingButtons) b->setEnabled(enabled);
  ScrollBar1->setEnabled(enabled);
  for (QWidget* w : {static_cast<QWidget*>(NewButton), static_cast<QWidget*>(OpenButton),
                     static_cast<QWidget*>(FileNameEdit->BrowseButton())})
    w->setEnabled(enabled);
}

void TForm1::StartRecording() {
  HideCursors();
  switch (ConnectAdapter(state, serialLink)) {
    case StartFailure::kCannotOpenPort:
      return ShowMessage(kSerialErrorCaption, kCannotOpenPortText);
    case StartFailure::kNoDevice:
      return ShowMessage(kSerialErrorCaption, kNoDeviceText);
    case StartFailure::kNone:
      break;
  }
  StartButton->setEnabled(false);
  FftButton->setEnabled(false);
  // The recording goes on under the name "Nowy" created it with, whatever the box says now.
  FileNameEdit->SetText(newRecordingName);
  BeginRecording(state, serialLink, newRecordingName.toStdString(), LocalNow());
  Timer1->start();
  SetAcquisitionControlsEnabled(false);
  {
    const QSignalBlocker quiet(ScrollBar1);
    state.scrollBar.SetPosition(0);
    ScrollBar1->setValue(0);
  }
  DrawScales(state.timeScaleAbsolute);
  StopButton->setEnabled(true);
}

void TForm1::Timer1Timer() {
  Timer1->stop();
  if (!state.recordingActive) return;
  const LiveTick tick = LiveRecordingTick(state, serialLink, LocalNow());
  if (tick.stored > 0) {
    tABS->setText(QString::fromStdString(tick.absoluteTime));
    tREL->setText(QString::fromStdString(tick.relativeTime));
    PresentPlot(state, windowCanvas);
    update(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
  }
  if (tick.end != RecordingEnd::kNone) return EndRecordingWith(tick.end);
  Timer1->start();
}

void TForm1::StopRecording() {
  EndRecordingWith(RecordingEnd::kNone);
}

void TForm1::EndRecordingWith(RecordingEnd why) {
  HideCursors();
  Timer1->stop();
  // A device that is gone gets no stop byte.
  EndRecording(state, serialLink, why != RecordingEnd::kLinkLost);
  StartButton->setEnabled(false);
  StopButton->setEnabled(false);
  SetAcquisitionControlsEnabled(true);
  if (state.adapterType == 1) ApplyType1Limits();
  switch (why) {
    case RecordingEnd::kLinkLost:
      ShowMessage(kSerialErrorCaption, kLinkLostText);
      break;
    case RecordingEnd::kWriteFailed:
      ShowMessage(kSerialErrorCaption, kWriteFailedText);
      break;
    case RecordingEnd::kFull:
      ShowMessage(kRecordingFullCaption, kRecordingFullText);
      break;
    case RecordingEnd::kNone:
      break;
  }
  FileNameEdit->SetText(newRecordingName);
  OpenRecording();
}

void TForm1::LeaveRecording() {
  if (!state.recordingActive) return;
  Timer1->stop();
  EndRecording(state, serialLink, true);
  CloseRecording(state);
}

}  // namespace wyk
