#pragma once
// The spectrum window: the amplitude spectrum of the open recording's first samples, of the
// main window's view or of A–B, with the frequency axis at 1:1, 10x or 100x and the strongest
// tone read out under the plot.

#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

#include "app/RecorderState.h"
#include "controls/RaisedPanel.h"
#include "storage/SampleStretch.h"
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
  // Which samples: "Pocz." (the recording's first), "Widok", "A–B" (only with the cursors on).
  RaisedPanel* Panel2;
  QToolButton *StretchButton1, *StretchButton2, *StretchButton3;
  QLabel* Label2;  // the samples analysed
  QLabel* Label3;  // the strongest tone
  // The plot's menu: its picture and the bins on show as CSV.
  QMenu* SpectrumMenu;
  QAction *SavePictureAction, *ExportBinsAction;

  // The choice of samples, kept while the program runs.
  Stretch stretch = Stretch::kWhole;

  // The window's surface: axes drawn here, the plot copied into it.
  Canvas windowCanvas;

  void FormShow();
  void FormPaint();
  // Recomputes from the open recording with the progress frame shown, and redraws.
  void RefreshSpectrum();
  void SetFrequencyZoom(int f);
  // A choice of samples: recomputes.
  void SetStretch(Stretch chosen);
  void SaveSpectrumPicture();
  void ExportBins();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  RecorderState& state_;
  TForm1& mainWindow_;
  QtTextDrawer textDrawer_;
  void BuildStretchPanel();
  void ShowReadouts();
};

}  // namespace wyk
