#pragma once
// The samples of a recording as CSV rows or as a WAV file, into any output: a file that
// replaces the old one only when complete, or the standard output.

#include <cstdint>
#include <functional>
#include <stdexcept>

#include "export/Csv.h"
#include "export/OutputFile.h"
#include "storage/Recordings.h"
#include "view/Scales.h"

namespace wyk {

struct SampleRange {
  int64_t from = 0;
  int64_t to = 0;  // one past the last sample
};

// Called after each block with the samples written so far and the range's length. It may throw
// to stop the export; the output is then not committed.
using ExportProgress = std::function<void(int64_t done, int64_t total)>;

// A recording that ends before the range does: the file shrank or a read failed meanwhile.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads at most `size` samples from `offset` of a range that ends at `end` into `block` and
// returns how many came; none raises InputError.
int64_t ReadRangeBlock(const SampleFile& file, int64_t offset, uint8_t* block, int64_t size,
                       int64_t end);

// A range that cannot be read to its end raises InputError; the caller's output is then not
// committed.
void ExportCsv(const StoredRecording& recording, SampleRange range, const CsvFormat& format,
               OutputFile& out, const ExportProgress& progress = {});
void ExportWav(const StoredRecording& recording, SampleRange range, OutputFile& out,
               const ExportProgress& progress = {});

}  // namespace wyk
