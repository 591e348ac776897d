#pragma once
// The three buttons that choose a stretch of samples, "Pocz.", "Widok" and "A–B", one above
// the other in a raised panel; the chosen one stays pressed. A–B is on only with the cursors.

#include <QToolButton>
#include <array>
#include <functional>

#include "controls/RaisedPanel.h"
#include "storage/SampleStretch.h"

namespace wyk {

class TForm1;

struct StretchButtons {
  RaisedPanel* panel;
  std::array<QToolButton*, 3> buttons;  // kWhole, kView, kCursors

  // Presses the button of `stretch`.
  void Show(Stretch stretch) const;
};

StretchButtons MakeStretchButtons(QWidget* window, const QRect& place, const QString& wholeHint,
                                  TForm1& mainWindow, std::function<void(Stretch)> chosen);

// A–B chosen while the cursors are off is the recording from its start.
Stretch UsableStretch(Stretch stretch, bool cursorsVisible);

}  // namespace wyk
