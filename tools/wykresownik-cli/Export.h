#pragma once
// The samples of a recording as CSV rows or as a WAV file, into any output: a file that
// replaces the old one only when complete, or the standard output.

#include <cstdint>
#include <functional>

#include "Csv.h"
#include "Files.h"
#include "spectrum/SpectrumState.h"
#include "storage/Recordings.h"
#include "view/Scales.h"

namespace wyk::cli {

struct SampleRange {
  int64_t from = 0;
  int64_t to = 0;  // one past the last sample
};

// Called after each block with the samples written so far and the range's length. It may throw
// to stop the export; the output is then not committed.
using ExportProgress = std::function<void(int64_t done, int64_t total)>;

// A range that cannot be read to its end (the file shrank or a read failed meanwhile) raises
// CliError(kBadInput); the caller's output is then not committed.
void ExportCsv(const StoredRecording& recording, SampleRange range, const CsvFormat& format,
               OutputFile& out, const ExportProgress& progress = {});
void ExportWav(const StoredRecording& recording, SampleRange range, OutputFile& out,
               const ExportProgress& progress = {});

// The bins on show of the last spectrum: number, frequency and the engine's magnitude.
void WriteBins(const Scales& scales, const SpectrumState& spectrum, const CsvFormat& format,
               OutputFile& out);

}  // namespace wyk::cli
