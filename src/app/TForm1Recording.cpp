// The main window's live recording: "Start", the ticks of Timer1 and "Stop".
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "acquisition/SerialTexts.h"
#include "app/Guard.h"
#include "app/RecorderFiles.h"
#include "app/TForm1.h"
#include "common/LocalClock.h"
#include "common/QtText.h"
#include "config/Configuration.h"
#include "storage/Recordings.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

constexpr qreal kLiveFramesPerSecond = 20;

}  // namespace

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
  switch (ConnectAdapter(state.settings, state.live, serialLink)) {
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
  BeginRecording(state.settings, state.scales, state.live, state.recording, state.view, serialLink,
                 newRecordingName.toStdString(), LocalNow());
  liveTickClock.start();
  Timer1->start(tickSchedule.Start(0));
  SetAcquisitionControlsEnabled(false);
  {
    const QSignalBlocker quiet(ScrollBar1);
    state.view.scrollBar.SetPosition(0);
    ScrollBar1->setValue(0);
  }
  DrawScales(state.scales.timeScaleAbsolute);
  StopButton->setEnabled(true);
}

void TForm1::Timer1Timer() {
  Timer1->stop();
  if (!state.live.recordingActive) return;
  const LiveTick tick =
      LiveRecordingTick(state.scales, state.live, state.recording, serialLink, LocalNow());
  if (tick.stored > 0) {
    liveFrame = tick;
    liveFramePending = true;
  }
  if (tick.end != RecordingEnd::kNone) return EndRecordingWith(tick.end);
  // The plot and the clocks are shown at most 20 times a second, and never more often than the
  // screen shows frames: the ticks in between draw nothing, and the first tick after a frame's
  // time shows the newest samples. Each frame costs far more than a tick.
  const qreal rate = std::min<qreal>(screen() ? screen()->refreshRate() : kLiveFramesPerSecond,
                                     kLiveFramesPerSecond);
  if (liveFramePending &&
      !(liveFrameClock.isValid() && liveFrameClock.elapsed() < 1000 / std::max<qreal>(rate, 1)))
    PresentLiveFrame();
  Timer1->start(tickSchedule.DelayAfterTick(liveTickClock.elapsed()));
}

void TForm1::PresentLiveFrame() {
  liveFrameClock.start();
  DrawLivePlot(state.settings, state.live.liveValues, state.view.plotBitmap, kLiveGridSpacing,
               liveFrame.gridOffset);
  selectionBandShown = false;  // the live plot is presented over any band
  update(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
  ShowLiveTimes();
}

// Only a label whose text changed is repainted.
void TForm1::ShowLiveTimes() {
  liveFramePending = false;
  for (auto [label, text] :
       {std::pair{tREL, &liveFrame.relativeTime}, std::pair{tABS, &liveFrame.absoluteTime}}) {
    const QString shown = QString::fromStdString(*text);
    if (label->text() != shown) label->setText(shown);
  }
}

void TForm1::StopRecording() {
  EndRecordingWith(RecordingEnd::kNone);
}

void TForm1::EndRecordingWith(RecordingEnd why) {
  HideCursors();
  Timer1->stop();
  if (liveFramePending) ShowLiveTimes();
  liveFrameClock.invalidate();
  // A device that is gone gets no stop byte. The samples are on the disk before the recording
  // is reported closed.
  if (!EndRecording(state.live, state.recording, state.view, serialLink,
                    why != RecordingEnd::kLinkLost))
    why = RecordingEnd::kWriteFailed;
  StartButton->setEnabled(false);
  StopButton->setEnabled(false);
  SetAcquisitionControlsEnabled(true);
  setWindowTitle(ToQString(MainWindowCaption(state.settings.adapterType)));
  if (state.settings.adapterType == 1) ApplyType1Limits();
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
  // The clocks go on showing the times of the recording just made, which is the one opened.
  const QString relative = tREL->text(), absolute = tABS->text();
  OpenRecording();
  tREL->setText(relative);
  tABS->setText(absolute);
}

void TForm1::LeaveRecording() {
  if (!state.live.recordingActive) return;
  Timer1->stop();
  EndRecording(state.live, state.recording, state.view, serialLink, true);
  CloseRecordingAndView(state);
}

}  // namespace wyk
