#pragma once
// The main window: plot, scales, tool bar and the seven side panels.

#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <string>

#include "acquisition/LiveRecording.h"
#include "acquisition/QtSerialPort.h"
#include "acquisition/SerialLink.h"
#include "acquisition/TickSchedule.h"
#include "app/RecorderState.h"
#include "app/SummaryWatcher.h"
#include "app/TFrame1.h"
#include "controls/BrowseEdit.h"
#include "controls/IconButton.h"
#include "controls/RaisedPanel.h"
#include "controls/ThumbScrollBar.h"
#include "storage/SampleStretch.h"
#include "view/Cursors.h"
#include "view/QtTextDrawer.h"

namespace wyk {

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 792;
  static constexpr int kClientHeight = 372;
  inline static const QString kCaption = "KWARN Wykresownik ";

  // Creates the window and runs its creation handler with the settings file at `settingsPath`.
  TForm1(RecorderState& state, std::string settingsPath);

  RecorderState& state;
  const std::string settingsPath;
  QWidget* configurationDialog = nullptr;  // set once the dialog exists
  QWidget* spectrumWindow = nullptr;       // likewise

  // The window's surface: the scales are drawn here and the plot copied into it.
  Canvas windowCanvas;
  QtTextDrawer textDrawer;

  QLabel* Label20;
  QWidget* Panel2;
  QLabel *znAtop, *znBtop, *znApion, *znBpion, *znApoziom, *znBpoziom;
  QLabel *Przel1, *Przel2, *Przel3;
  ThumbScrollBar* ScrollBar1;
  QLabel *Label21, *Label22, *Label23;
  RaisedPanel* Panel1;
  IconButton *z1, *z2, *z3, *z4, *z5, *t1, *t2, *CursorsButton, *SnapAButton, *SnapBButton,
      *FftButton;
  QLabel* ZoomLabel;
  TFrame1* Frame11;
  QTimer* Timer1;

  RaisedPanel* FilePanel;
  QLabel* Label5;
  BrowseEdit* FileNameEdit;
  QToolButton *OpenButton, *NewButton;

  RaisedPanel* RecordingPanel;
  QToolButton *StartButton, *StopButton;

  RaisedPanel* TimePanel;
  QLabel *tREL, *tABS;

  RaisedPanel* VoltsPanel;
  QLabel *Image1, *Image4, *Przelacznik;
  std::array<QToolButton*, 13> speedButtons;  // SpeedButton1 … SpeedButton13

  RaisedPanel* SamplingPanel;
  std::array<QToolButton*, 10> samplingButtons;  // vd1 … vd10

  RaisedPanel* CursorPanel;
  QLabel *Label8, *Label15, *Label17, *Label11, *Label16, *Label19;

  RaisedPanel* SettingsPanel;
  QToolButton *ConfigButton, *ExitButton;

  QToolButton* SpeedButton(int n) const { return speedButtons[static_cast<size_t>(n - 1)]; }
  QToolButton* vd(int n) const { return samplingButtons[static_cast<size_t>(n - 1)]; }

  // Selector handlers: button numbers as in vd1 … vd10 and SpeedButton1 … SpeedButton13.
  void SelectSamplePeriodClick(int vdButton);
  void SelectVoltsClick(int speedButton);
  void SelectCouplingClick(int speedButton);
  void SelectTimeScaleClick(bool absolute);
  void ApplyType1Limits();
  void LiftType1Limits();

  // Scale layer for the current state onto the window surface, and the two captions.
  void DrawScales(bool absoluteTime);
  // Paint handler: the last plot and the scales, without recomputing the trace.
  void FormPaint();

  // File panel: "Nowy", "Otworz" and the browse button.
  void NewRecording();
  void OpenRecording();
  void BrowseRecording();
  // The box's text when "Nowy" created the sample file that Start records into.
  QString newRecordingName;
  // Closes the open recording: an empty plot under the scales, nothing to browse or record into.
  void CloseRecordingView();
  void RedrawRecording();  // scroll bar, scales and plot of the open recording
  // The name given on the command line: put in the name box and opened as by "Otworz" once
  // the event loop runs.
  void OpenRecordingAtStart(const QString& name);
  static QString InitialRecordingName();
  // ScrollBar1 takes the values of state.view.scrollBar.
  void SyncScrollBar();
  void SetViewButtonsEnabled(bool enabled);  // z1 … z5 and FftButton
  // A modal message box with an OK button.
  void ShowMessage(const QString& caption, const QString& text);

  // Zoom and scrolling: the view at the scroll position, the scroll bar's handler, the zoom
  // buttons, and the wheel and keys that stand in for them.
  void ShowViewAt();
  void ScrollBar1Scroll();
  void z1Click();
  void z2Click();
  void z3Click();
  void z4Click();
  void z5Click();
  bool ViewWheel(int steps, Qt::KeyboardModifiers modifiers);  // true when it was used
  bool ViewKey(int key);

  // Cursors A and B, the strip above the plot and the selection on the window's surface.
  void ToggleCursors();
  void HideCursors();  // on, then toggled: off
  void SnapCursor(Cursor cursor);
  void PickCursor(int x);
  void DragCursor(int x, Qt::MouseButtons buttons);
  void FollowScroll();
  void BeginSelection(int x, int y);
  void ExtendSelection(int x, int y, Qt::MouseButtons buttons);
  void EndSelection();
  // An inverted band lies over the plot on the surface; a repaint keeps it until the plot is
  // drawn again.
  bool selectionBandShown = false;

  // The plot's menu (right button, menu key): its picture, and the samples of the recording, the
  // view or A–B as CSV, WAV or a sigrok session. Items that need an open recording are off
  // without one.
  QMenu* PlotMenu;
  QAction *SavePictureAction, *CopyPictureAction;
  QMenu *CsvMenu, *WavMenu, *SrMenu;
  void ShowPlotMenu(const QPoint& globalPosition);
  void SavePlotPicture();
  void CopyPlotPicture();
  enum class SampleFormat { kCsv, kWav, kSigrok };
  void ExportSamples(Stretch stretch, SampleFormat format);
  // "Pomiary…" shows the measurement window; "Obwiednia" switches the envelope view, which is
  // drawn once the summary that the watcher builds at each opening is ready.
  QAction *MeasureAction, *EnvelopeAction;
  QWidget* measurementWindow = nullptr;  // set once the window exists
  SummaryWatcher* summaryWatcher;
  void BuildMeasureMenu();
  void ShowMeasurements();
  void ToggleEnvelope();
  void SummaryReady();

  // Live recording: "Start", each tick of Timer1, "Stop".
  SerialLink serialLink{MakeQtSerialPort};
  void StartRecording();
  void Timer1Timer();
  void StopRecording();
  // The plot and the time labels follow the ticks at the screen's frame rate.
  void PresentLiveFrame();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildLayout();
  void BuildToolBar();
  void BuildSidePanels();
  void ConnectViewHandlers();  // scroll bar, zoom buttons, cursors, mouse, wheel and keys
  void PlaceCursorMarks(Cursor cursor, const CursorMarks& marks);
  void CreateMainWindow();
  QLabel* SwitchPicture(int number) const;  // Przel1 … Przel3
  void DrawScaleLayer(bool absoluteTime);
  void ShowConfiguration();
  void ShowSpectrum();
  void ExitApplication();
  void ConnectRecordingControls();
  void SetAcquisitionControlsEnabled(bool enabled);
  void EndRecordingWith(RecordingEnd why);
  // Leaving the program ends a running recording as Stop does, without opening it.
  void LeaveRecording();
  void ShowLiveTimes();
  LiveTick liveFrame;  // the newest tick with samples, not yet on the screen when pending
  bool liveFramePending = false;
  QElapsedTimer liveFrameClock;  // since the last frame shown
  QElapsedTimer liveTickClock;   // since Start
  TickSchedule tickSchedule{kTickIntervalMs};
  void BuildPlotMenu();

 signals:
  void CursorsSwitched(bool on);
};

}  // namespace wyk
