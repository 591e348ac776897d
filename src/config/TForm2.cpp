#include "config/TForm2.h"

#include "app/TForm1.h"
#include "controls/Fonts.h"

namespace wyk {

const QStringList TForm2::kAdapterEntries = {"TEV2R (DSC89C420)", "TEW2R", "TEV2R (ATMEGA8)"};

TForm2::TForm2(RecorderState& state, TForm1& mainWindow)
    : QWidget(nullptr), state_(state), mainWindow_(mainWindow) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle("Konfiguracja");
  setFixedSize(294, 191);
  move(359, 237);
  setFont(SmallFont());
  ComboBox1 = new QComboBox(this);
  ComboBox1->setGeometry(8, 128, 113, 21);
  ComboBox1->setEditable(true);
  ComboBox1->addItems(kAdapterEntries);
  CreateConfigurationDialog();
}

QString TForm2::MainCaption(int adapterType) {
  const QString entry = adapterType >= 0 && adapterType < kAdapterEntries.size()
                            ? kAdapterEntries[adapterType]
                            : QString();
  return TForm1::kCaption + entry;
}

void TForm2::CreateConfigurationDialog() {
  // A type above 2 leaves no entry selected.
  ComboBox1->setCurrentIndex(state_.adapterType < kAdapterEntries.size() ? state_.adapterType : -1);
  mainWindow_.setWindowTitle(MainCaption(state_.adapterType));
}

}  // namespace wyk
