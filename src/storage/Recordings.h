#pragma once
// Creating and opening recordings: what "Nowy" and "Otworz" do to the files and the state.
// The window asks the questions, shows the messages and sets its buttons.

#include <cstdint>
#include <string>

#include "storage/OpenRecording.h"
#include "storage/ProfileFile.h"
#include "storage/RecordingParameters.h"
#include "storage/SampleFile.h"

namespace wyk {

// True when a sample file of that name can be opened for reading.
bool SampleFileExists(const std::string& sampleName);

// Closes the open recording; it is no longer treated as open.
void CloseRecording(OpenRecording& recording);

// Creates (or truncates) the sample file and keeps it open for the recording; false when
// it cannot be created.
bool CreateRecording(OpenRecording& recording, const std::string& sampleName);

enum class OpenResult {
  kOpened,
  kNotOpened,  // no sample file to open
  kNoSamples,  // an empty sample file: nothing to browse, the recording is not opened
};

struct OpenOutcome {
  OpenResult result;
  int64_t fileSize = 0;  // bytes; above the largest sample count only the first ones are shown
  ProfileFileState parameterFile = ProfileFileState::kMissing;
  RecordingParameters parameters;  // with their defaults unless read
};

// A recording's files as "Otworz" finds them, without touching any state: the sample file open
// read-only and the parameters with their defaults. Files above the largest sample count give
// only their first samples.
struct StoredRecording {
  OpenResult result = OpenResult::kNotOpened;
  SampleFile samples;  // closed when not opened
  RecordingParameters parameters;
  ProfileFileState parameterFile = ProfileFileState::kMissing;  // defaults unless kRead
  int64_t fileSize = 0;
  int32_t sampleCount = 0;
};
StoredRecording OpenStoredRecording(const std::string& name);

// Opens the recording named in the file-name box read-only in place of the open one and takes
// its start and length; its parameters come back for the scales. Without samples to browse the
// recording is closed.
OpenOutcome OpenRecordingFiles(OpenRecording& recording, const std::string& name);

}  // namespace wyk
