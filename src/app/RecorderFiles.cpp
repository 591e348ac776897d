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
  if (outcome.result == OpenResult::kOpened)
    ReadFirstWindow(state.recording, state.view);
  else
    ClearView(state.view, state.cursors);
  return outcome;
}

void CloseRecordingAndView(RecorderState& state) {
  CloseRecording(state.recording);
  ClearView(state.view, state.cursors);
}

}  // namespace wyk
