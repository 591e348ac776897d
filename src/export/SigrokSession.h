#pragma once
// The samples of a recording as a sigrok session (srzip, version 2), which sigrok-cli and
// PulseView open: one analogue channel named after the unit, its values as little-endian 32-bit
// floats in that unit, at 1000 / period Hz.

#include "export/OutputFile.h"
#include "export/SampleExport.h"
#include "storage/Recordings.h"

namespace wyk {

// A range that cannot be read to its end raises InputError; the caller's output is then not
// committed.
void ExportSigrok(const StoredRecording& recording, SampleRange range, OutputFile& out,
                  const ExportProgress& progress = {});

}  // namespace wyk
