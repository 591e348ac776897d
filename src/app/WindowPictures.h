#pragma once
// The windows' plots as pictures, drawn afresh from the recorder state on a canvas of their
// own: for the windows' menus and the command line, on Qt GUI without widgets.

#include <QImage>

#include "app/RecorderState.h"

namespace wyk {

// The main window's plot with its scales at the state's view; the command line's render.
QImage ViewPicture(RecorderState& state, bool absoluteTime);
// The spectrum window's plot with its axes; the command line's spectrum --png.
QImage SpectrumPicture(const RecorderState& state);

}  // namespace wyk
