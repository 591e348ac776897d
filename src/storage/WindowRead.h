#pragma once
// Filling the view's window of samples from the sample file.

#include <cstdint>
#include <span>

#include "storage/SampleFile.h"

namespace wyk {

// Element i of `window` becomes sample `start` + `step` × i of the file. A position at or past
// the end repeats the sample read last, in this call or an earlier one (`lastRead` carries it).
// Returns how many leading elements hold samples of the file.
size_t ReadWindow(const SampleFile& file, int64_t start, int64_t step, uint8_t& lastRead,
                  std::span<uint8_t> window);

}  // namespace wyk
