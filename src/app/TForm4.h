#pragma once
// The measurement window "Pomiary": minimum, maximum, peak-to-peak, mean, RMS, frequency, period
// and duty cycle of the recording from its start, of the main window's view or of A–B, following
// the view and the cursors while it is shown; "Kopiuj" puts the figures on the clipboard.

#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <tuple>

#include "app/RecorderState.h"
#include "app/StretchButtons.h"

namespace wyk {

class TForm1;

class TForm4 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFigureCount = 9;

  TForm4(RecorderState& state, TForm1& mainWindow);

  QLabel* Label1;  // the samples measured
  std::array<QLabel*, kFigureCount> nameLabels;
  std::array<QLabel*, kFigureCount> valueLabels;
  StretchButtons stretchButtons;
  QToolButton* CopyButton;
  // Looks for a change of the stretch four times a second while shown.
  QTimer followTimer;

  Stretch stretch = Stretch::kWhole;

  // Measures again when the stretch, the recording or its scales changed since the last time.
  void Follow();
  void SetStretch(Stretch chosen);
  // The figures as text, as wykresownik-cli measure prints them.
  QString FiguresText() const;
  void CopyFigures();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  RecorderState& state_;
  TForm1& mainWindow_;
  // What the shown figures were measured from.
  using Measured = std::tuple<bool, std::string, int64_t, int64_t, float, float, std::string>;
  Measured measured_;
  bool measuredOnce_ = false;
  std::string report_;
  void Measure(SampleSpan span);
};

}  // namespace wyk
