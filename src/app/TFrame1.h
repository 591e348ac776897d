#pragma once
// The progress frame: "Proszę czekać" over a progress bar, shown while a spectrum is computed.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>

namespace wyk {

class TFrame1 : public QFrame {
  Q_OBJECT
 public:
  explicit TFrame1(QWidget* parent);

  QLabel* Label1;
  QProgressBar* ProgressBar1;
};

}  // namespace wyk
