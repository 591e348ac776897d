#pragma once
// The spectrum window: the amplitude spectrum of the open recording's first samples, with the
// frequency axis at 1:1, 10x or 100x.

#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include "app/RecorderState.h"
#include "controls/RaisedPanel.h"
#include "view/QtTextDrawer.h"

namespace wyk {

class TForm1;

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  // The main window lends its progress frame and is the window this one centres on.
  TForm3(RecorderState& state, TForm1& mainWindow);

  QLabel* Label1;
  QFrame* Bevel1;
  RaisedPanel* Panel1;
  QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3;

  // The window's surface: axes drawn here, the plot copied into it.
  Canvas windowCanvas;

  void FormShow();
  void FormPaint();
  // Recomputes from the open recording with the progress frame shown, and redraws.
  void RefreshSpectrum();
  void SetFrequencyZoom(int f);

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  RecorderState& state_;
  TForm1& mainWindow_;
  QtTextDrawer textDrawer_;
};

}  // namespace wyk
