#include "app/TForm1.h"
#include "common/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QPainter>

#include "app/Guard.h"
#include "app/ScreenPlacement.h"
#include "common/QtColour.h"
#include "config/Settings.h"
#include "controls/CaptionButton.h"
#include "controls/Fonts.h"
#include "controls/Pictures.h"
#include "view/PlotRenderer.h"
#include "view/Selectors.h"

namespace wyk {
namespace {

const QColor kSilverColour(0xC0, 0xC0, 0xC0);
const QColor kGreenCaption(0x00, 0x80, 0x00);
const QColor kMaroonCaption(0x80, 0x00, 0x00);
const QColor kNavyCaption(0x00, 0x00, 0x80);

QRect ToQRect(const Geometry& g) {
  return {g.left, g.top, g.width, g.height};
}
QLabel* MakeLabel(QWidget* parent, const QRect& geometry, const QString& text,
                  const QColor& colour = Qt::black, Qt::Alignment align = Qt::AlignLeft) {
  auto* label = new QLabel(text, parent);
  label->setFont(SmallFont());
  label->setAlignment(align | Qt::AlignVCenter);
  QPalette p = label->palette();
  p.setColor(QPalette::Active, QPalette::WindowText, colour);
  p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
  label->setPalette(p);
  if (geometry.width() > 0) {
    label->setGeometry(geometry);
  } else {
    label->move(geometry.topLeft());
    label->adjustSize();
  }
  return label;
}

QToolButton* MakeButton(QWidget* parent, const QRect& geometry, const QString& caption,
                        const QFont& font, const QColor& colour = Qt::black, bool flat = false) {
  auto* button = new CaptionButton(parent);
  button->setGeometry(geometry);
  button->setText(caption);
  button->setFont(font);
  button->setAutoRaise(flat);
  button->setFocusPolicy(Qt::NoFocus);
  QPalette p = button->palette();
  p.setColor(QPalette::Active, QPalette::ButtonText, colour);
  p.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
  button->setPalette(p);
  return button;
}

QLabel* MakePicture(QWidget* parent, const QRect& geometry, const QPixmap& picture) {
  auto* image = new QLabel(parent);
  image->setGeometry(geometry);
  image->setPixmap(picture);
  image->setAttribute(Qt::WA_TranslucentBackground);
  return image;
}

void MakeSeparator(QWidget* parent, int left) {
  auto* line = new QFrame(parent);
  line->setGeometry(left, 4, 9, 23);
  line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
}

}  // namespace

TForm1::TForm1(RecorderState& recorderState, std::string settingsFile)
    : state(recorderState),
      settingsPath(std::move(settingsFile)),
      windowCanvas(kClientWidth, kClientHeight) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(kCaption);
  setFixedSize(kClientWidth, kClientHeight);
  move(162, 117);
  KeepOnScreenWhenShown(*this);
  setFont(DefaultFont());
  QPalette p = palette();
  p.setColor(QPalette::Window, kSilverColour);
  setPalette(p);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);

  BuildLayout();
  ConnectRecordingControls();
  CreateMainWindow();
}

void TForm1::BuildLayout() {
  windowCanvas.SetBrushColor(kSilver);
  windowCanvas.FillRect(0, 0, kClientWidth, kClientHeight);

  Label20 = MakeLabel(this, {272, 8, 79, 13}, "Przebieg czasowy");

  Panel2 = new QWidget(this);
  Panel2->setGeometry(39, 20, 502, 12);
  Panel2->setCursor(Qt::PointingHandCursor);
  znAtop = MakePicture(Panel2, {-4, 1, 11, 10}, pictures::CursorPin(QColor(0, 255, 0)));
  znBtop = MakePicture(Panel2, {-4, 1, 11, 10}, pictures::CursorPin(QColor(0, 0, 255)));
  for (QLabel* pin : {znAtop, znBtop}) {
    pin->hide();
    pin->setEnabled(false);
  }
  // Dashed cursor lines: white is see-through, so the plot shows between the dashes.
  znApion = MakePicture(this, {40, 30, 1, 250}, pictures::DashedLine(QColor(0, 255, 0), 1, 250));
  znBpion = MakePicture(this, {40, 30, 1, 250}, pictures::DashedLine(QColor(0, 0, 255), 1, 250));
  znApoziom = MakePicture(this, {40, 280, 500, 1}, pictures::DashedLine(QColor(0, 255, 0), 500, 1));
  znBpoziom = MakePicture(this, {40, 280, 500, 1}, pictures::DashedLine(QColor(0, 0, 255), 500, 1));
  for (QLabel* line : {znApion, znBpion, znApoziom, znBpoziom}) line->hide();

  Przel1 = MakePicture(this, {97, 42, 16, 64}, pictures::Switch(pictures::Lever::Down));
  Przel2 = MakePicture(this, {113, 42, 16, 64}, pictures::Switch(pictures::Lever::Middle));
  Przel3 = MakePicture(this, {129, 42, 16, 64}, pictures::Switch(pictures::Lever::Up));
  for (QLabel* picture : {Przel1, Przel2, Przel3}) {
    picture->hide();
    picture->setEnabled(false);
  }

  ScrollBar1 = new ThumbScrollBar(this);
  ScrollBar1->setGeometry(24, 312, 534, 16);
  ScrollBar1->setPageStep(25);

  Label21 = MakeLabel(this, {8, 332, 64, 13}, "V/dz=10mV");
  Label22 = MakeLabel(this, {8, 344, 64, 13}, "T=0,2ms");
  Label23 = MakeLabel(this, {8, 356, 64, 13}, "AC");

  BuildToolBar();
  BuildSidePanels();

  Frame11 = new TFrame1(this);
  Frame11->setGeometry(152, 136, 302, 41);
  Frame11->Label1->move(124, 0);
  Frame11->ProgressBar1->setGeometry(0, 16, 300, 25);
  Frame11->ProgressBar1->setRange(0, 19);
  Frame11->hide();

  Timer1 = new QTimer(this);
  Timer1->setInterval(10);
  Timer1->setSingleShot(true);
  // A coarse timer may come up to 5 % late: a tick would then miss its place on the 10 ms grid.
  Timer1->setTimerType(Qt::PreciseTimer);

  ConnectViewHandlers();
  BuildPlotMenu();
}

void TForm1::BuildToolBar() {
  Panel1 = new RaisedPanel(this, {72, 328, 448, 32});
  const auto button = [&](int left, const QPixmap& picture, const QString& hint, int width = 26) {
    auto* b = new IconButton(Panel1, picture, hint);
    b->setGeometry(left, 1, width, 30);
    return b;
  };
  using pictures::Zoom;
  z1 = button(2, pictures::ZoomIcon(Zoom::All), "Pokaż całość");
  z2 = button(28, pictures::ZoomIcon(Zoom::Off), "Wyłącz powiększenie");
  MakeSeparator(Panel1, 56);
  z3 = button(60, pictures::ZoomIcon(Zoom::In), "Powiększ");
  z4 = button(86, pictures::ZoomIcon(Zoom::Out), "Zmniejsz");
  z5 = button(112, pictures::ZoomIcon(Zoom::Selection), "Pokaż zaznaczenie");
  auto* zoomFrame = new QFrame(Panel1);
  zoomFrame->setGeometry(144, 6, 121, 17);
  zoomFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  MakeLabel(Panel1, {148, 8, 0, 0}, "Zoom:");
  ZoomLabel = MakeLabel(Panel1, {174, 8, 79, 13}, "1:1");
  t1 = button(kTimeScaleRows[0].button.left, pictures::TimeScaleIcon("REL"),
              ToQString(kTimeScaleRows[0].hint));
  t2 = button(kTimeScaleRows[1].button.left, pictures::TimeScaleIcon("ABS"),
              ToQString(kTimeScaleRows[1].hint));
  connect(t1, &QToolButton::clicked, this, Guard([this] { SelectTimeScaleClick(false); }));
  connect(t2, &QToolButton::clicked, this, Guard([this] { SelectTimeScaleClick(true); }));
  MakeSeparator(Panel1, 322);
  CursorsButton = button(326, pictures::CursorsIcon(), "Włącz / wyłącz kursory");
  SnapAButton = button(358, pictures::SnapIcon('A'), "Przyciągnij kursor A");
  SnapBButton = button(384, pictures::SnapIcon('B'), "Przyciągnij kursor B");
  MakeSeparator(Panel1, 413);
  FftButton = button(418, pictures::FftIcon(), "Analiza częstotliwości", 28);
  for (QWidget* b :
       {static_cast<QWidget*>(z1), static_cast<QWidget*>(z2), static_cast<QWidget*>(z3),
        static_cast<QWidget*>(z4), static_cast<QWidget*>(z5), static_cast<QWidget*>(FftButton)})
    b->setEnabled(false);
  connect(FftButton, &QToolButton::clicked, this, Guard(this, &TForm1::ShowSpectrum));
}

void TForm1::BuildSidePanels() {
  const QFont caption = SmallFont();
  const QFont fileButtons = SmallFont(10);

  FilePanel = new RaisedPanel(this, {592, 0, 197, 49});
  Label5 = MakeLabel(FilePanel, {20, 2, 161, 13}, "PLIK", Qt::black, Qt::AlignHCenter);
  FileNameEdit = new BrowseEdit(FilePanel, {8, 14, 185, 17});
  FileNameEdit->SetText(InitialRecordingName());
  OpenButton = MakeButton(FilePanel, {3, 32, 95, 15}, "Otworz", fileButtons);
  NewButton = MakeButton(FilePanel, {99, 32, 95, 15}, "Nowy", fileButtons);
  connect(OpenButton, &QToolButton::clicked, this, Guard(this, &TForm1::OpenRecording));
  connect(NewButton, &QToolButton::clicked, this, Guard(this, &TForm1::NewRecording));
  connect(FileNameEdit, &BrowseEdit::BrowseRequested, this, Guard(this, &TForm1::BrowseRecording));

  RecordingPanel = new RaisedPanel(this, {592, 49, 197, 34});
  MakeLabel(RecordingPanel, {8, 2, 185, 13}, "REJESTRACJA", Qt::black, Qt::AlignHCenter);
  StartButton = MakeButton(RecordingPanel, {2, 14, 95, 17}, "Start", caption, kGreenCaption);
  StopButton = MakeButton(RecordingPanel, {100, 14, 95, 17}, "Stop", caption, kMaroonCaption);
  StartButton->setEnabled(false);
  StopButton->setEnabled(false);

  TimePanel = new RaisedPanel(this, {592, 83, 197, 32});
  MakeLabel(TimePanel, {8, 8, 0, 0}, "Czas:");
  MakeLabel(TimePanel, {32, 2, 60, 13}, "REL", Qt::black, Qt::AlignHCenter);
  MakeLabel(TimePanel, {100, 2, 60, 13}, "ABS", Qt::black, Qt::AlignHCenter);
  tREL = MakeLabel(TimePanel, {32, 16, 60, 13}, "00:00:00:000", Qt::black, Qt::AlignHCenter);
  tABS = MakeLabel(TimePanel, {100, 16, 60, 13}, "00:00:00:000", Qt::black, Qt::AlignHCenter);
  // Opaque, so that a new time repaints the label alone and not the panel under it; digits and
  // colons need no shaping, which a recording would otherwise pay for in every frame.
  for (QLabel* time : {tREL, tABS}) {
    time->setAutoFillBackground(true);
    QFont font = time->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    time->setFont(font);
  }

  VoltsPanel = new RaisedPanel(this, {592, 115, 197, 116});
  MakeLabel(VoltsPanel, {56, 2, 40, 13}, "V/dz", Qt::black, Qt::AlignHCenter);
  MakeLabel(VoltsPanel, {145, 18, 32, 13}, "Tryb", Qt::black, Qt::AlignHCenter);
  Image1 = MakePicture(VoltsPanel, ToQRect(kKnobImage1), pictures::Knob());
  Image4 = MakePicture(VoltsPanel, ToQRect(kPointerImage4), pictures::PointerDot());
  Przelacznik = MakePicture(VoltsPanel, ToQRect(kSwitchPrzelacznik), Przel3->pixmap());
  for (size_t i = 0; i < kVoltsPerDivRows.size(); ++i) {
    const VoltsPerDivRow& row = kVoltsPerDivRows[i];
    speedButtons[i] = MakeButton(VoltsPanel, ToQRect(row.button), ToQString(row.caption), caption,
                                 ToQColor(row.captionColour), true);
    speedButtons[i]->setObjectName(ToQString(row.name));
    connect(speedButtons[i], &QToolButton::clicked, this,
            Guard([this, i] { SelectVoltsClick(int(i) + 1); }));
  }
  for (size_t i = 0; i < kCouplingRows.size(); ++i) {
    const CouplingRow& row = kCouplingRows[i];
    QToolButton* b = MakeButton(VoltsPanel, ToQRect(row.button), ToQString(row.caption), caption,
                                Qt::black, true);
    b->setObjectName(ToQString(row.name));
    speedButtons[10 + i] = b;
    connect(b, &QToolButton::clicked, this, Guard([this, i] { SelectCouplingClick(int(i) + 11); }));
  }

  SamplingPanel = new RaisedPanel(this, {592, 231, 197, 50});
  MakeLabel(SamplingPanel, {8, 2, 181, 13}, "PRÓBKOWANIE", Qt::black, Qt::AlignHCenter);
  for (size_t i = 0; i < kSamplePeriodRows.size(); ++i) {
    const SamplePeriodRow& row = kSamplePeriodRows[i];
    samplingButtons[i] = MakeButton(SamplingPanel, ToQRect(row.button), ToQString(row.caption),
                                    caption, Qt::black, true);
    samplingButtons[i]->setObjectName(ToQString(row.name));
    connect(samplingButtons[i], &QToolButton::clicked, this,
            Guard([this, i] { SelectSamplePeriodClick(int(i) + 1); }));
  }

  CursorPanel = new RaisedPanel(this, {592, 281, 197, 60});
  MakeLabel(CursorPanel, {40, 2, 0, 0}, "Pozycja");
  MakeLabel(CursorPanel, {104, 2, 0, 0}, "Wartość");
  const QColor rowColours[3] = {kGreenCaption, kNavyCaption, Qt::black};
  const char* const rowNames[3] = {"A:", "B:", "A-B:"};
  QLabel* times[3];
  QLabel* values[3];
  for (int row = 0; row < 3; ++row) {
    const int top = 16 + 14 * row;
    MakeLabel(CursorPanel, {16, top, 0, 0}, rowNames[row], rowColours[row]);
    times[row] = MakeLabel(CursorPanel, {40, top, 60, 13}, "00:00:00:000", rowColours[row]);
    values[row] = MakeLabel(CursorPanel, {104, top, 60, 13}, "0V", rowColours[row]);
  }
  Label8 = times[0], Label15 = times[1], Label17 = times[2];
  Label11 = values[0], Label16 = values[1], Label19 = values[2];

  SettingsPanel = new RaisedPanel(this, {592, 341, 197, 28});
  ConfigButton = MakeButton(SettingsPanel, {2, 5, 94, 17}, "Konfiguracja", caption);
  ExitButton = MakeButton(SettingsPanel, {100, 5, 94, 17}, "Wyjście", caption, kMaroonCaption);
  connect(ConfigButton, &QToolButton::clicked, this, Guard(this, &TForm1::ShowConfiguration));
  connect(ExitButton, &QToolButton::clicked, this, Guard(this, &TForm1::ExitApplication));
}

void TForm1::CreateMainWindow() {
  InitPlotBitmaps(state.view, state.cursors);
  // Time and date texts are fixed to "hh:mm:ss:zzz" and "dd:mm:yyyy" (common/DateTime.h).
  LoadSettings(state.settings, settingsPath);
  state.view.envelopeShown = state.settings.envelopeView;
  EnvelopeAction->setChecked(state.view.envelopeShown);
  if (state.settings.adapterType == 1) {
    ApplyType1Limits();
    SelectVoltsClick(4);         // 100 mV
    SelectSamplePeriodClick(2);  // 0,5 ms
  }
  DrawRecordingPlot(state.settings, state.view, state.view.plotBitmap, 25, 0);
}

void TForm1::ShowConfiguration() {
  if (configurationDialog) {
    configurationDialog->show();
    configurationDialog->raise();
    configurationDialog->activateWindow();
  }
  DrawRecordingPlot(state.settings, state.view, state.view.plotBitmap, 25, state.view.gridOffset);
  PresentPlot(state.view, windowCanvas);
  update(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
}

void TForm1::ShowSpectrum() {
  if (spectrumWindow) {
    spectrumWindow->show();
    spectrumWindow->raise();
  }
}

// "Wyjście" leaves as the close box does.
void TForm1::ExitApplication() {
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  RunGuarded([this] { LeaveRecording(); });
  event->accept();
  QApplication::quit();
}

void TForm1::paintEvent(QPaintEvent* event) {
  // The scales lie outside the plot: a repaint of the plot alone (a live tick) needs only it.
  const QRect dirty = event->rect();
  if (QRect(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight).contains(dirty)) {
    // A live frame goes from the plot bitmap straight to the screen: one pass over 500 KB fewer
    // per frame. The window canvas catches up when it is next drawn on.
    if (state.live.recordingActive && !selectionBandShown) {
      const Canvas& plot = state.view.plotBitmap;
      const QRect part = dirty.translated(-kPlotLeft, -kPlotTop);
      QPainter(this).drawImage(
          dirty.topLeft(),
          QImage(plot.Bits() + part.top() * plot.BytesPerLine() + part.left() * 4, part.width(),
                 part.height(), plot.BytesPerLine(), QImage::Format_RGB32));
      return;
    }
    if (!selectionBandShown) PresentPlot(state.view, windowCanvas);
  } else {
    PaintGuarded([this] { FormPaint(); });
  }
  QPainter painter(this);
  // The canvas is in the backing store's own format, so this is a plain copy of the part to
  // repaint.
  const QRect part = dirty.intersected(QRect(0, 0, windowCanvas.Width(), windowCanvas.Height()));
  if (part.isEmpty()) return;
  const QImage surface(
      windowCanvas.Bits() + part.top() * windowCanvas.BytesPerLine() + part.left() * 4,
      part.width(), part.height(), windowCanvas.BytesPerLine(), QImage::Format_RGB32);
  painter.drawImage(part.topLeft(), surface);
}

}  // namespace wyk
