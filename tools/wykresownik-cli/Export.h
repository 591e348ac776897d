#pragma once
// The samples of a recording as CSV rows or as a WAV file, into any output: a file that
// replaces the old one only when complete, or the standard output.

#include <cstdint>

#include "Csv.h"
#include "Files.h"
#include "storage/Recordings.h"

namespace wyk::cli {

struct SampleRange {
  int64_t from = 0;
  int64_t to = 0;  // one past the last sample
};

// A range that cannot be read to its end (the file shrank or a read failed meanwhile) raises
// CliError(kBadInput); the caller's output is then not committed.
void ExportCsv(const StoredRecording& recording, SampleRange range, const CsvFormat& format,
               OutputFile& out);
void ExportWav(const StoredRecording& recording, SampleRange range, OutputFile& out);

}  // namespace wyk::cli
