#include "storage/Recordings.h"

#include <algorithm>
#include <utility>

#include "app/RecorderState.h"
#include "storage/RecordingNames.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

void ResetView(RecorderState& state) {
  state.view.scrollBar.thumbLength = 500;
  state.view.scrollBar.SetMaximum(0);
  state.view.windowOffset = state.view.windowStart = state.view.previousWindowOffset = 0;
}

}  // namespace

bool SampleFileExists(const std::string& sampleName) {
  return SampleFile::Open(sampleName).IsOpen();
}

void CloseRecording(RecorderState& state) {
  state.recording.dataFile.Close();
  state.recording.dataFileOpen = false;
  state.recording.recordingName.clear();
  // Nothing of it is left to show or to browse.
  state.recording.sampleCount = 0;
  state.view.zoomStep = 1;
  state.view.windowBuffer.fill(0);
  state.view.lastReadSample = 0;
  state.cursors.selectionValid = false;
  ResetView(state);
}

bool CreateRecording(RecorderState& state, const std::string& sampleName) {
  state.recording.dataFile = SampleFile::Create(sampleName);
  state.recording.dataFileOpen = state.recording.dataFile.IsOpen();
  return state.recording.dataFileOpen;
}

StoredRecording OpenStoredRecording(const std::string& name) {
  StoredRecording recording;
  recording.samples = SampleFile::Open(RecordingFileName(name, ".osr"));
  if (!recording.samples.IsOpen()) return recording;
  const std::string parameterName = RecordingFileName(name, ".osi");
  recording.parameterFile = ProfileFileStateOf(parameterName);
  recording.parameters = ReadRecordingParameters(parameterName);
  recording.fileSize = recording.samples.Size();
  recording.sampleCount = static_cast<int32_t>(std::min<int64_t>(recording.fileSize, INT32_MAX));
  recording.result = recording.sampleCount == 0 ? OpenResult::kNoSamples : OpenResult::kOpened;
  return recording;
}

OpenOutcome OpenRecordingFiles(RecorderState& state, const std::string& name) {
  StoredRecording recording = OpenStoredRecording(name);
  if (recording.result == OpenResult::kNotOpened) {
    CloseRecording(state);
    return {OpenResult::kNotOpened};
  }
  state.recording.dataFile = std::move(recording.samples);  // the recording open before is closed
  state.recording.dataFileOpen = false;
  const RecordingParameters& parameters = recording.parameters;
  state.recording.recordingStart = parameters.start;
  state.scales.samplePeriodMs = parameters.samplePeriodMs;
  state.scales.voltsPerDiv = parameters.voltsPerDiv;
  state.scales.voltsUnit = parameters.voltsUnit;
  state.view.scrollBar.SetPosition(0);
  const int64_t size = recording.fileSize;
  state.recording.sampleCount = recording.sampleCount;
  state.view.zoomPercent = std::max(state.recording.sampleCount / 5, 100);
  state.view.zoomStep = 1;
  state.view.previousWindowOffset = state.view.windowOffset = state.view.windowStart = 0;
  if (state.recording.sampleCount == 0) {
    CloseRecording(state);
    return {OpenResult::kNoSamples, size, recording.parameterFile};
  }
  UpdateScrollBar(state);
  // One block read; a shorter file leaves the rest of the window as it was.
  state.recording.dataFile.ReadAt(0, state.view.windowBuffer.data(), kWindowLength);
  state.recording.dataFileOpen = true;
  state.recording.recordingName = name;
  return {OpenResult::kOpened, size, recording.parameterFile};
}

}  // namespace wyk
