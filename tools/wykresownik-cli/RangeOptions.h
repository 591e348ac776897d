#pragma once
// --from and --to of the commands that take a stretch of samples.

#include <cstdint>

#include "Arguments.h"
#include "export/SampleExport.h"

namespace wyk::cli {

// --from … --to held within the recording; --from beyond --to is bad usage.
SampleRange RangeOf(const Arguments& arguments, int64_t sampleCount);

// Says on the error output that --to lay beyond the end and how many samples were taken.
void WarnIfToBeyondEnd(const Arguments& arguments, const char* command, int32_t sampleCount,
                       const SampleRange& range, const char* done);

}  // namespace wyk::cli
