#include "app/TForm3.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QShowEvent>

#include "app/Guard.h"
#include "app/OutputFiles.h"
#include "app/ScreenPlacement.h"
#include "app/StretchButtons.h"
#include "app/TForm1.h"
#include "app/ToolWindowFlags.h"
#include "common/QtColour.h"
#include "common/QtText.h"
#include "controls/Fonts.h"
#include "export/Pictures.h"
#include "export/Png.h"
#include "export/SpectrumBins.h"
#include "spectrum/SpectrumPeak.h"
#include "spectrum/SpectrumView.h"
#include "storage/RecordingNames.h"
#include "view/Cursors.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

// Beside the recording: "<name>-widmo.csv".
std::string SpectrumOutputName(const RecorderState& state, const char* extension) {
  return state.recording.recordingName.empty()
             ? QDir::homePath().toStdString() + "/widmo" + extension
             : RecordingFileName(state.recording.recordingName, std::string("-widmo") + extension);
}

}  // namespace

TForm3::TForm3(RecorderState& state, TForm1& mainWindow)
    : QWidget(nullptr), state_(state), mainWindow_(mainWindow) {
  setWindowFlags(kToolWindowFlags);
  setWindowTitle("FFT");
  setFixedSize(kSpectrumFormWidth, kSpectrumFormHeight);
  QPalette p = palette();
  p.setColor(QPalette::Window, ToQColor(kSpectrumFormColour));
  setPalette(p);

  windowCanvas.Resize(kSpectrumFormWidth, kSpectrumFormHeight);
  windowCanvas.SetBrushColor(kSpectrumFormColour);
  windowCanvas.FillRect(0, 0, kSpectrumFormWidth, kSpectrumFormHeight);

  Label1 = new QLabel("Analiza częstotliwości", this);
  Label1->setFont(SmallFont());
  Label1->setGeometry(248, 8, 101, 13);
  Bevel1 = new QFrame(this);
  Bevel1->setGeometry(39, 29, 514, 252);
  Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Bevel1->setLineWidth(1);
  Panel1 = new RaisedPanel(this, {560, 29, 41, 81});
  const auto button = [this](int top, const QString& caption, int f) {
    auto* b = new QToolButton(Panel1);
    b->setGeometry(4, top, 32, 22);
    b->setText(caption);
    b->setFont(SmallFont());
    b->setFocusPolicy(Qt::NoFocus);
    // The chosen scale stays pressed.
    b->setCheckable(true);
    b->setAutoExclusive(true);
    connect(b, &QToolButton::clicked, this, Guard([this, f] { SetFrequencyZoom(f); }));
    return b;
  };
  SpeedButton1 = button(4, "1:1", 1);
  SpeedButton2 = button(28, "10x", 10);
  SpeedButton3 = button(52, "100x", 100);
  SpeedButton1->setChecked(true);
  BuildStretchPanel();

  // FormCreate
  state_.spectrum.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
}

void TForm3::BuildStretchPanel() {
  const StretchButtons made =
      MakeStretchButtons(this, {560, 114, 41, 81}, "Pierwsze próbki nagrania", mainWindow_,
                         [this](Stretch s) { SetStretch(s); });
  Panel2 = made.panel;
  StretchButton1 = made.buttons[0];
  StretchButton2 = made.buttons[1];
  StretchButton3 = made.buttons[2];

  for (QLabel** label : {&Label2, &Label3}) {
    *label = new QLabel(this);
    (*label)->setFont(SmallFont());
  }
  Label2->setGeometry(40, 300, 250, 13);
  Label3->setGeometry(300, 300, 252, 13);
  Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  SpectrumMenu = new QMenu(this);
  SavePictureAction =
      SpectrumMenu->addAction("Zapisz obraz…", this, Guard(this, &TForm3::SaveSpectrumPicture));
  ExportBinsAction =
      SpectrumMenu->addAction("Eksportuj CSV…", this, Guard(this, &TForm3::ExportBins));
}

void TForm3::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar: nothing new to show
  QRect area = rect();
  area.moveCenter(mainWindow_.geometry().center());
  setGeometry(area);
  KeepOnScreen(*this);
  RunGuarded([this] { FormShow(); });
}

void TForm3::FormShow() {
  RefreshSpectrum();
}

void TForm3::RefreshSpectrum() {
  TFrame1& frame = *mainWindow_.Frame11;
  frame.ProgressBar1->setValue(0);
  frame.show();
  frame.repaint();
  // A–B was chosen while the cursors were on; without them the recording's start is analysed.
  stretch = UsableStretch(stretch, state_.cursors.cursorsVisible);
  StretchButtons{Panel2, {StretchButton1, StretchButton2, StretchButton3}}.Show(stretch);
  SpeedButton1->setChecked(true);  // a new computation shows the whole axis
  const SampleSpan wanted = StretchRange(stretch, ViewSpan(state_.view), CursorSpan(state_.cursors),
                                         state_.recording.dataFile.Size());
  const bool computed = wyk::RefreshSpectrum(
      state_.settings, state_.scales, state_.recording, state_.spectrum,
      [&frame](int stage) {
        frame.ProgressBar1->setValue(stage);
        frame.ProgressBar1->repaint();
      },
      wanted);
  ShowReadouts();
  DrawSpectrumAxes(state_.spectrum, windowCanvas, textDrawer_);
  PresentSpectrum(state_.spectrum, windowCanvas);
  repaint();
  frame.hide();
  if (!computed)
    QMessageBox::warning(this, QString::fromUtf8(kNoSamplesCaption),
                         QString::fromUtf8(kNoSamplesText));
}

void TForm3::SetStretch(Stretch chosen) {
  stretch = chosen;
  RefreshSpectrum();
}

void TForm3::ShowReadouts() {
  Label2->setText(ToQString(SamplesText(AnalysedRange(state_.spectrum))));
  const std::optional<SpectrumPeak> peak = FindSpectrumPeak(state_.scales, state_.spectrum);
  Label3->setText(peak ? ToQString(PeakText(state_.scales, *peak)) : QString());
}

void TForm3::contextMenuEvent(QContextMenuEvent* event) {
  const QRect plot(kSpectrumLeft, kSpectrumTop, kSpectrumWidth, kPlotHeight);
  if (event->reason() == QContextMenuEvent::Mouse && !plot.contains(event->pos())) return;
  RunGuarded([this, event] {
    for (QAction* action : SpectrumMenu->actions())
      action->setEnabled(state_.spectrum.fftFullSize > 0);
    SpectrumMenu->popup(event->globalPos());
  });
}

void TForm3::SaveSpectrumPicture() {
  const QImage picture = SpectrumPicture(state_.spectrum);
  const std::string path = AskOutputPath(this, "Zapisz obraz", SpectrumOutputName(state_, ".png"),
                                         "Obraz PNG (*.png)", state_.recording.recordingName);
  if (path.empty()) return;
  WriteOutput(this, path, state_.recording.recordingName,
              [&picture](OutputFile& out) { WritePng(picture, out); });
}

void TForm3::ExportBins() {
  const std::string path = AskOutputPath(this, "Eksportuj CSV", SpectrumOutputName(state_, ".csv"),
                                         "Tekst CSV (*.csv)", state_.recording.recordingName);
  if (path.empty()) return;
  WriteOutput(this, path, state_.recording.recordingName, [this](OutputFile& out) {
    WriteBins(state_.spectrum, state_.spectrum.samplesPeriodMs, CsvFormat{}, out);
  });
}

void TForm3::SetFrequencyZoom(int f) {
  wyk::SetFrequencyZoom(state_.settings, state_.scales, state_.spectrum, f);
  (f == 1 ? SpeedButton1 : f == 10 ? SpeedButton2 : SpeedButton3)->setChecked(true);
  ShowReadouts();
  DrawSpectrumAxes(state_.spectrum, windowCanvas, textDrawer_);
  PresentSpectrum(state_.spectrum, windowCanvas);
  update();
}

void TForm3::FormPaint() {
  DrawSpectrumAxes(state_.spectrum, windowCanvas, textDrawer_);
  PresentSpectrum(state_.spectrum, windowCanvas);
}

void TForm3::paintEvent(QPaintEvent*) {
  PaintGuarded([this] { FormPaint(); });
  QPainter painter(this);
  const QImage surface(windowCanvas.Bits(), windowCanvas.Width(), windowCanvas.Height(),
                       windowCanvas.BytesPerLine(), QImage::Format_RGB32);
  painter.drawImage(0, 0, surface);
}

}  // namespace wyk
