#pragma once
// The envelope of the window of samples: for each element, the least and the greatest of the
// samples it stands for, so that a zoomed-out plot shows every excursion.

#include <cstdint>

#include "storage/OpenRecording.h"
#include "view/ViewWindow.h"

namespace wyk {

// windowLeast and windowGreatest for the window at `windowStart` with stride `step`: element i
// covers samples windowStart + step × i … + step − 1 within the recording; elements past its
// end repeat the last sample, as the window does. Long steps need the recording's summary;
// envelopeValid says whether there was one.
void ReadWindowEnvelope(const OpenRecording& recording, ViewWindow& view, int32_t step);

}  // namespace wyk
