#include "app/RecorderFiles.h"

#include "view/RecordingView.h"
#include "view/Selectors.h"

namespace wyk {

OpenOutcome OpenRecordingForView(RecorderState& state, const std::string& name) {
  const OpenOutcome outcome = OpenRecordingFiles(state.recording, name);
  if (outcome.result != OpenResult::kNotOpened) {
    TakeRecordingScales(state.scales, outcome.parameters);
    ResetZoom(state.recording, state.view);
  }
  if (outcome.result == OpenResult::kOpened) {
    state.recording.summary.TakeGrown(state.live.summary, state.recording.dataFile);
    ReadFirstWindow(state.recording, state.view);  // with the envelope when that took it
  } else {
    state.live.summary.Clear();
    ClearView(state.view, state.cursors);
  }
  return outcome;
}

void CloseRecordingAndView(RecorderState& state) {
  CloseRecording(state.recording);
  state.live.summary.Clear();
  ClearView(state.view, state.cursors);
}

}  // namespace wyk
