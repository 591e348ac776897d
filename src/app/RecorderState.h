#pragma once
// Everything the recorder shares between its windows, in the parts each subsystem owns.
// Made once by main and passed to the windows by reference; the spectrum part is large, so keep
// the object on the heap.

#include "acquisition/LiveSession.h"
#include "config/Settings.h"
#include "spectrum/SpectrumState.h"
#include "storage/OpenRecording.h"
#include "view/CursorState.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

struct RecorderState {
  Settings settings;
  Settings savedSettings;  // the configuration dialog's copy, restored by "Anuluj"
  Scales scales;
  LiveSession live;
  OpenRecording recording;
  ViewWindow view;
  CursorState cursors;
  SpectrumState spectrum;
};

}  // namespace wyk
