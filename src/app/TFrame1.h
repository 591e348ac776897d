#pragma once
// The progress frame: "Proszę czekać" over a progress bar, shown while a spectrum is computed,
// and with "Przerwij" under the bar while samples are exported.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace wyk {

class TFrame1 : public QFrame {
  Q_OBJECT
 public:
  explicit TFrame1(QWidget* parent);

  QLabel* Label1;
  QProgressBar* ProgressBar1;
  QPushButton* CancelButton;  // hidden unless a task can be cancelled
};

}  // namespace wyk
