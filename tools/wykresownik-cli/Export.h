#pragma once
// The export command's writers, which the windows' export uses too.

#include <cstdint>
#include <functional>

#include "Csv.h"
#include "Files.h"
#include "storage/Recordings.h"

namespace wyk::cli {

struct Range {
  int64_t from = 0;
  int64_t to = 0;  // one past the last sample
};

// Called after each block with the samples written so far and the range's length. It may throw
// to stop the export; the OutputFile then removes what was written.
using ExportProgress = std::function<void(int64_t done, int64_t total)>;

void ExportCsv(const StoredRecording& recording, Range range, const CsvFormat& format,
               OutputFile& out, const ExportProgress& progress = {});
void ExportWav(const StoredRecording& recording, Range range, OutputFile& out,
               const ExportProgress& progress = {});

// The bins on show of the last spectrum: number, frequency and the engine's magnitude.
void WriteBins(const RecorderState& state, const CsvFormat& format, OutputFile& out);

}  // namespace wyk::cli
