// Any bytes as a parameter file: never an exception, never a period or volts per division that
// is not finite and positive; a start that reads back is written and read again the same.
#include <cmath>
#include <cstdlib>

#include "FuzzInput.h"
#include "storage/RecordingParameters.h"

using namespace wyk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const auto number : {ParseParameterNumber(text)})
    if (number && !(std::isfinite(*number) && *number > 0)) std::abort();
  if (const auto start = ParseStartText(text)) {
    // Whole seconds survive the round trip; the milliseconds are written but not read.
    const auto again = ParseStartText(StartText(*start));
    if (!again || std::fabs(*again - *start) * kMsPerDay >= 1000.5) std::abort();
  }
  const std::string path = fuzz::ScratchFile("parameters.osi");
  fuzz::WriteBytes(path, "[Parm]\r\n" + text);
  const RecordingParameters p = ReadRecordingParameters(path);
  if (!(std::isfinite(p.samplePeriodMs) && p.samplePeriodMs > 0)) std::abort();
  if (!(std::isfinite(p.voltsPerDiv) && p.voltsPerDiv > 0)) std::abort();
  if (!std::isfinite(p.start)) std::abort();
  return 0;
}
