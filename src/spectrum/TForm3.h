#pragma once
// The spectrum window.

#include <QWidget>

#include "app/RecorderState.h"

namespace wyk {

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(RecorderState& state);

 private:
  RecorderState& state_;
};

}  // namespace wyk
