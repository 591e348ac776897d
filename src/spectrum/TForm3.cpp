#include "spectrum/TForm3.h"

namespace wyk {

TForm3::TForm3(RecorderState& state) : QWidget(nullptr), state_(state) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle("FFT");
  setFixedSize(602, 316);
  state_.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
}

}  // namespace wyk
