#pragma once
// The configuration dialog: port, adapter type, DC offset and the plot colours.

#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "app/RecorderState.h"
#include "controls/CaptionButton.h"
#include "controls/ColourSwatch.h"
#include "controls/RadioGroup.h"
#include "controls/SpinEdit.h"
#include "view/Canvas.h"

namespace wyk {

class TForm1;

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  TForm2(RecorderState& state, TForm1& mainWindow);

  RadioGroup* RadioGroup1;
  QGroupBox* GroupBox2;
  QLabel *Label1, *Label2, *Label3;
  ColourSwatch *Shape1, *Shape2, *Shape3;
  QFrame* Bevel1;
  QGroupBox* GroupBox1;
  QComboBox* ComboBox1;
  QLabel* Label4;
  SpinEdit* CSpinEdit1;
  QLabel* Image1;
  CaptionButton *SpeedButton2, *SpeedButton3;
  QColorDialog* ColorDialog1 = nullptr;  // made at the first pick

  // The dialog's surface: button face with the colour preview.
  Canvas surface;

  // The adapter entry whose text the box shows, or −1 (typed text that is no entry).
  int SelectedAdapterEntry() const;

  void PickColour(ColourSwatch* swatch);
  void ConfirmConfiguration();
  void CancelConfiguration();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildLayout();
  void CreateConfigurationDialog();
  // Swatches, port, adapter entry and offset as the settings in force.
  void ShowSettings();

  RecorderState& state_;
  TForm1& mainWindow_;
};

}  // namespace wyk
