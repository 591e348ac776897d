#include "storage/Recordings.h"

#include <algorithm>
#include <utility>

#include "storage/RecordingNames.h"

namespace wyk {
bool SampleFileExists(const std::string& sampleName) {
  return SampleFile::Open(sampleName).IsOpen();
}

void CloseRecording(OpenRecording& recording) {
  recording.summary.Clear();
  recording.dataFile.Close();
  recording.dataFileOpen = false;
  recording.recordingName.clear();
  recording.sampleCount = 0;
}

bool CreateRecording(OpenRecording& recording, const std::string& sampleName) {
  recording.dataFile = SampleFile::Create(sampleName);
  recording.dataFileOpen = recording.dataFile.IsOpen();
  return recording.dataFileOpen;
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

OpenOutcome OpenRecordingFiles(OpenRecording& recording, const std::string& name) {
  StoredRecording stored = OpenStoredRecording(name);
  if (stored.result == OpenResult::kNotOpened) {
    CloseRecording(recording);
    return {OpenResult::kNotOpened, 0, ProfileFileState::kMissing, {}};
  }
  recording.summary.Clear();
  recording.dataFile = std::move(stored.samples);  // the recording open before is closed
  recording.dataFileOpen = false;
  recording.recordingStart = stored.parameters.start;
  recording.samplePeriodMs = stored.parameters.samplePeriodMs;
  recording.sampleCount = stored.sampleCount;
  if (recording.sampleCount == 0) {
    CloseRecording(recording);
    return {OpenResult::kNoSamples, stored.fileSize, stored.parameterFile, stored.parameters};
  }
  recording.dataFileOpen = true;
  recording.recordingName = name;
  return {OpenResult::kOpened, stored.fileSize, stored.parameterFile, stored.parameters};
}

}  // namespace wyk
