#include "storage/Recordings.h"

#include <algorithm>
#include <utility>

#include "app/RecorderState.h"
#include "storage/RecordingNames.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

void ResetView(RecorderState& state) {
  state.scrollBar.thumbLength = 500;
  state.scrollBar.SetMaximum(0);
  state.windowOffset = state.windowStart = state.previousWindowOffset = 0;
}

}  // namespace

bool SampleFileExists(const std::string& sampleName) {
  return SampleFile::Open(sampleName).IsOpen();
}

void CloseRecording(RecorderState& state) {
  state.dataFile.Close();
  state.dataFileOpen = false;
  state.recordingName.clear();
  // Nothing of it is left to show or to browse.
  state.sampleCount = 0;
  state.zoomStep = 1;
  state.windowBuffer.fill(0);
  state.lastReadSample = 0;
  state.selectionValid = false;
  ResetView(state);
}

bool CreateRecording(RecorderState& state, const std::string& sampleName) {
  state.dataFile = SampleFile::Create(sampleName);
  state.dataFileOpen = state.dataFile.IsOpen();
  return state.dataFileOpen;
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
  state.dataFile = std::move(recording.samples);  // the recording open before is closed
  state.dataFileOpen = false;
  const RecordingParameters& parameters = recording.parameters;
  state.recordingStart = parameters.start;
  state.samplePeriodMs = parameters.samplePeriodMs;
  state.voltsPerDiv = parameters.voltsPerDiv;
  state.voltsUnit = parameters.voltsUnit;
  state.scrollBar.SetPosition(0);
  const int64_t size = recording.fileSize;
  state.sampleCount = recording.sampleCount;
  state.zoomPercent = std::max(state.sampleCount / 5, 100);
  state.zoomStep = 1;
  state.previousWindowOffset = state.windowOffset = state.windowStart = 0;
  if (state.sampleCount == 0) {
    CloseRecording(state);
    return {OpenResult::kNoSamples, size, recording.parameterFile};
  }
  UpdateScrollBar(state);
  // One block read; a shorter file leaves the rest of the window as it was.
  state.dataFile.ReadAt(0, state.windowBuffer.data(), kWindowLength);
  state.dataFileOpen = true;
  state.recordingName = name;
  return {OpenResult::kOpened, size, recording.parameterFile};
}

}  // namespace wyk
