#pragma once
// The configuration dialog: port, adapter type, DC offset and the plot colours.

#include <QComboBox>
#include <QWidget>

#include "app/RecorderState.h"

namespace wyk {

class TForm1;

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  // Entries of ComboBox1; the entry index is the adapter type.
  static const QStringList kAdapterEntries;

  TForm2(RecorderState& state, TForm1& mainWindow);

  QComboBox* ComboBox1;

  // "KWARN Wykresownik " followed by the entry of the adapter type, if there is one.
  static QString MainCaption(int adapterType);

 private:
  void CreateConfigurationDialog();

  RecorderState& state_;
  TForm1& mainWindow_;
};

}  // namespace wyk
