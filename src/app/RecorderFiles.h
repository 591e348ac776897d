#pragma once
// Opening and closing a recording across the parts of the recorder state: the files, the scales
// the recording was made with and the view, as "Otworz" and the end of a recording leave them.

#include <string>

#include "app/RecorderState.h"
#include "storage/Recordings.h"

namespace wyk {

// Opens the recording `name` read-only, takes its scales, resets zoom and scrolling and reads
// the first window of samples; without samples to browse the view is cleared. The summary the
// live session grew is the recording's own when it covers the sample file exactly: the first
// opening after Stop is the one of the recording just made, so any opening drops it.
OpenOutcome OpenRecordingForView(RecorderState& state, const std::string& name);

// Closes the open recording; the view holds none of it, the live session no summary.
void CloseRecordingAndView(RecorderState& state);

}  // namespace wyk
