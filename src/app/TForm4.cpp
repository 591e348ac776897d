#include "app/TForm4.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QShowEvent>

#include "app/Guard.h"
#include "app/TForm1.h"
#include "app/ToolWindowFlags.h"
#include "common/QtText.h"
#include "controls/Fonts.h"
#include "view/Cursors.h"
#include "view/MeasurementTexts.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

constexpr int kFormWidth = 340;
constexpr int kFormHeight = 214;
constexpr int kRowTop = 40;
constexpr int kRowHeight = 18;
constexpr int kFollowIntervalMs = 250;

}  // namespace

TForm4::TForm4(RecorderState& state, TForm1& mainWindow)
    : QWidget(nullptr),
      stretchButtons(MakeStretchButtons(this, {296, 24, 41, 81}, "Całe nagranie od początku",
                                        mainWindow, [this](Stretch s) { SetStretch(s); })),
      state_(state),
      mainWindow_(mainWindow) {
  setWindowFlags(kToolWindowFlags);
  setWindowTitle("Pomiary");
  setFixedSize(kFormWidth, kFormHeight);
  auto* title = new QLabel("Pomiary odcinka", this);
  title->setFont(SmallFont());
  title->setGeometry(8, 6, 200, 13);
  Label1 = new QLabel(this);
  Label1->setFont(SmallFont());
  Label1->setGeometry(8, 22, 280, 13);
  for (int i = 0; i < kFigureCount; ++i) {
    const int top = kRowTop + kRowHeight * i;
    nameLabels[static_cast<size_t>(i)] = new QLabel(this);
    nameLabels[static_cast<size_t>(i)]->setGeometry(8, top, 122, 16);
    valueLabels[static_cast<size_t>(i)] = new QLabel(this);
    valueLabels[static_cast<size_t>(i)]->setGeometry(130, top, 164, 16);
    valueLabels[static_cast<size_t>(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  CopyButton = new QToolButton(this);
  CopyButton->setGeometry(296, 110, 41, 22);
  CopyButton->setText("Kopiuj");
  CopyButton->setToolTip("Kopiuj pomiary jako tekst");
  CopyButton->setFont(SmallFont());
  CopyButton->setFocusPolicy(Qt::NoFocus);
  connect(CopyButton, &QToolButton::clicked, this, Guard(this, &TForm4::CopyFigures));
  followTimer.setInterval(kFollowIntervalMs);
  connect(&followTimer, &QTimer::timeout, this, Guard(this, &TForm4::Follow));
}

void TForm4::Follow() {
  const bool open = state_.recording.dataFileOpen && !state_.live.recordingActive &&
                    !state_.recording.recordingName.empty();
  stretch = UsableStretch(stretch, state_.cursors.cursorsVisible);
  stretchButtons.Show(stretch);
  const SampleSpan span =
      open ? StretchRange(stretch, ViewSpan(state_.view), CursorSpan(state_.cursors),
                          state_.recording.sampleCount)
           : SampleSpan{};
  const Scales& scales = state_.scales;
  const Measured now{open,
                     state_.recording.recordingName,
                     span.first,
                     span.end,
                     scales.voltsPerDiv,
                     scales.samplePeriodMs,
                     scales.voltsUnit};
  if (measuredOnce_ && now == measured_) return;
  measured_ = now;
  measuredOnce_ = true;
  Measure(span);
}

void TForm4::Measure(SampleSpan span) {
  const StretchFigures figures = MeasureStretch(state_.recording.dataFile, span);
  const std::vector<FigureText> texts = FigureTexts(figures, state_.scales);
  Label1->setText(figures.count > 0
                      ? ToQString(SamplesText({span.first, span.first + figures.count}))
                      : QString("brak próbek"));
  report_ = FiguresReport({span.first, span.first + figures.count}, texts);
  for (size_t i = 0; i < texts.size(); ++i) {
    nameLabels[i]->setText(ToQString(texts[i].name + ":"));
    valueLabels[i]->setText(ToQString(FigureValueText(texts[i])));
  }
}

void TForm4::SetStretch(Stretch chosen) {
  stretch = chosen;
  Follow();
}

QString TForm4::FiguresText() const {
  return ToQString(report_);
}

void TForm4::CopyFigures() {
  QGuiApplication::clipboard()->setText(FiguresText());
}

void TForm4::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  QRect area = rect();
  area.moveTopLeft(mainWindow_.geometry().topRight() + QPoint(8, 0));
  setGeometry(area);
  RunGuarded([this] { Follow(); });
  followTimer.start();
}

void TForm4::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) followTimer.stop();
}

}  // namespace wyk
