#pragma once
// The recording being browsed or recorded into: its sample file, name, length and start, and
// the summary of its samples' extents.

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "storage/SampleFile.h"
#include "storage/SampleSummary.h"

namespace wyk {

struct OpenRecording {
  SampleFile dataFile;
  bool dataFileOpen = false;
  std::string recordingName;  // as it was opened; empty when none is open
  int32_t sampleCount = 0;
  TDateTime recordingStart = 0;
  TDateTime relativeTimeOrigin = 0;  // never changed
  float samplePeriodMs = 0.5f;       // as stored with it; the selectors may show another since
  SampleSummary summary;             // for the envelope view; built once opened
};

}  // namespace wyk
