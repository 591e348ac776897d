#pragma once
// The adapter type the main window goes by for its caption and its volts axis.

#include <cstdint>

#include "app/RecorderState.h"

namespace wyk {

// While a recording runs, the type the adapter was started with: a type confirmed in the dialog
// meanwhile takes effect at Stop, as it does for the adapter.
inline uint8_t ShownAdapterType(const RecorderState& state) {
  return state.live.recordingActive ? state.live.recordingAdapterType : state.settings.adapterType;
}

}  // namespace wyk
