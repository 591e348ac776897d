#pragma once
// The scale layer: the volts axis left of the plot, the time axis below it, and the captions of
// the volts-per-division and sampling-period labels.

#include <functional>
#include <string>

#include "config/Settings.h"
#include "storage/OpenRecording.h"
#include "view/Canvas.h"
#include "view/Scales.h"
#include "view/TextDrawer.h"
#include "view/ViewWindow.h"

namespace wyk {

struct ScaleCaptions {
  std::string voltsPerDiv;   // Label21, "V/dz=10mV"
  std::string samplePeriod;  // Label22, "T=0,5ms"
};

// The only place that sets gridOffset, labelOffset, msPerPixel and leftEdgeMs, from the scroll
// position in samples of the recording and zoomStep.
void UpdateScaleValues(const Scales& scales, ViewWindow& view, int scrollPosition);

// The captions for the current voltsPerDiv, voltsUnit and samplePeriodMs.
ScaleCaptions CaptionsOf(const Scales& scales);

// Sets axisOffset, calls UpdateScaleValues, clears the strips left of and below the plot on the
// window canvas and draws the marks, ticks and labels there; returns the captions for the shell's
// labels. Time labels count from recordingStart when absoluteTime, else from relativeTimeOrigin.
//
// `showCaptions` receives the captions as soon as they are known, before anything is drawn, so
// that labels are already set when a later step raises an error.
ScaleCaptions DrawScales(const Settings& settings, const Scales& scales,
                         const OpenRecording& recording, ViewWindow& view, Canvas& window,
                         TextDrawer& text, bool absoluteTime, int scrollPosition,
                         const std::function<void(const ScaleCaptions&)>& showCaptions = {});

}  // namespace wyk
