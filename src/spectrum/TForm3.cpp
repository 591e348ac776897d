#include "spectrum/TForm3.h"

#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QShowEvent>

#include "app/Guard.h"
#include "app/TForm1.h"
#include "common/QtColour.h"
#include "controls/Fonts.h"
#include "spectrum/SpectrumView.h"

namespace wyk {

TForm3::TForm3(RecorderState& state, TForm1& mainWindow)
    : QWidget(nullptr), state_(state), mainWindow_(mainWindow) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
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
    connect(b, &QToolButton::clicked, this, Guard([this, f] { SetFrequencyZoom(f); }));
    return b;
  };
  SpeedButton1 = button(4, "1:1", 1);
  SpeedButton2 = button(28, "10x", 10);
  SpeedButton3 = button(52, "100x", 100);

  // FormCreate
  state_.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
}

void TForm3::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar: nothing new to show
  QRect area = rect();
  area.moveCenter(mainWindow_.geometry().center());
  setGeometry(area);
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
  const bool computed = wyk::RefreshSpectrum(state_, [&frame](int stage) {
    frame.ProgressBar1->setValue(stage);
    frame.ProgressBar1->repaint();
  });
  DrawSpectrumAxes(state_, windowCanvas, textDrawer_);
  PresentSpectrum(state_, windowCanvas);
  repaint();
  frame.hide();
  if (!computed)
    QMessageBox::warning(this, QString::fromUtf8(kNoSamplesCaption),
                         QString::fromUtf8(kNoSamplesText));
}

void TForm3::SetFrequencyZoom(int f) {
  wyk::SetFrequencyZoom(state_, f);
  DrawSpectrumAxes(state_, windowCanvas, textDrawer_);
  PresentSpectrum(state_, windowCanvas);
  update();
}

void TForm3::FormPaint() {
  DrawSpectrumAxes(state_, windowCanvas, textDrawer_);
  PresentSpectrum(state_, windowCanvas);
}

void TForm3::paintEvent(QPaintEvent*) {
  PaintGuarded([this] { FormPaint(); });
  QPainter painter(this);
  const QImage surface(windowCanvas.Bits(), windowCanvas.Width(), windowCanvas.Height(),
                       windowCanvas.BytesPerLine(), QImage::Format_RGB32);
  painter.drawImage(0, 0, surface);
}

}  // namespace wyk
