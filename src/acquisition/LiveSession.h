#pragma once
// A live recording from Start to Stop: the adapter's command frame, the bytes of the last tick,
// the trace on show and the summary of the samples written.

#include <array>
#include <cstdint>

#include "storage/SampleSummary.h"
#include "view/ViewWindow.h"

namespace wyk {

constexpr int kReceiveBufferSize = 1000;

struct LiveSession {
  std::array<uint8_t, 6> commandFrame{};
  std::array<uint8_t, kReceiveBufferSize> receiveBuffer{};
  int32_t recordedSampleCount = 0;
  bool recordingActive = false;      // from Start until Stop; selectors stay locked meanwhile
  uint8_t recordingAdapterType = 0;  // adapterType at Start; the dialog may change it meanwhile
  std::array<int32_t, kPlotWidth> liveValues{};
  // Of the bytes the sample file took since Start, so that the opening after Stop has the
  // envelope at once; taken over (or dropped) by that opening.
  SampleSummary summary;
};

}  // namespace wyk
