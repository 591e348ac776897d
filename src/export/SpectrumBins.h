#pragma once
// The spectrum on show as CSV rows.

#include "export/Csv.h"
#include "export/OutputFile.h"
#include "spectrum/SpectrumState.h"

namespace wyk {

// The bins on show of the last spectrum: number, frequency and the engine's magnitude.
// `samplePeriodMs` is the recording's, before the zoom stretches it.
void WriteBins(const SpectrumState& spectrum, float samplePeriodMs, const CsvFormat& format,
               OutputFile& out);

}  // namespace wyk
