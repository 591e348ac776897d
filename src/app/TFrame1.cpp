#include "app/TFrame1.h"

#include "controls/Fonts.h"

namespace wyk {

TFrame1::TFrame1(QWidget* parent) : QFrame(parent) {
  // The frame's own design; the main window's instance resizes it.
  resize(315, 83);
  setAutoFillBackground(true);
  Label1 = new QLabel("Proszę czekać", this);
  Label1->setFont(SmallFont());
  Label1->move(128, 8);
  Label1->adjustSize();
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setGeometry(0, 24, 313, 25);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  CancelButton = new QPushButton("Przerwij", this);
  CancelButton->setFont(SmallFont(11));
  CancelButton->hide();
}

}  // namespace wyk
