#pragma once
// The windows' plots as pictures, drawn afresh on a canvas of their own: for the windows' menus
// and the command line, on Qt GUI without widgets.

#include <QImage>

#include "config/Settings.h"
#include "spectrum/SpectrumState.h"
#include "storage/OpenRecording.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

// The main window's plot with its scales at the view; the command line's render.
QImage ViewPicture(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                   ViewWindow& view, bool absoluteTime);
// The spectrum window's plot with its axes; the command line's spectrum --png.
QImage SpectrumPicture(const SpectrumState& spectrum);

}  // namespace wyk
