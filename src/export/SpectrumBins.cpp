#include "export/SpectrumBins.h"

#include <cstddef>
#include <string>

#include "common/NumberText.h"

namespace wyk {

void WriteBins(const SpectrumState& spectrum, float samplePeriodMs, const CsvFormat& format,
               OutputFile& out) {
  const char s = format.separator;
  out.Write(std::string("Prazek") + s + "Czestotliwosc [Hz]" + s + "Amplituda" + kCsvLineEnd);
  const double hzPerBin =
      1000.0 / SampleTimes(samplePeriodMs).PeriodMs() / static_cast<double>(spectrum.fftFullSize);
  for (int k = 0; k <= spectrum.fftSize / 2; ++k) {
    const float magnitude = spectrum.spectrumMagnitudes[static_cast<size_t>(k)];
    out.Write(std::to_string(k) + s + CsvNumber(NumberText(k * hzPerBin, 15), format) + s +
              CsvNumber(NumberText(magnitude, 9), format) + kCsvLineEnd);
  }
}

}  // namespace wyk
