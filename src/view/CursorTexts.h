#pragma once
// The value a cursor reads at a level of the plotted trace, shared by the readouts and exports.

#include <cstdint>
#include <string>

namespace wyk {

// The level at which the recording view plots a stored sample: 251 … 255 stay on the top row.
constexpr int32_t PlotLevel(int32_t sample) {
  return sample > 250 ? 250 : sample;
}

// level × voltsPerDiv × 0.04 (25 pixels a division), formed and kept in extended precision:
// rounding it to double first can change the fifteenth digit of its text.
long double LevelValue(int32_t level, float voltsPerDiv);
// The same product for a level between pixels, such as a mean.
long double FractionalLevelValue(long double level, float voltsPerDiv);

// The value with up to 15 significant digits and a decimal comma, without its unit ("0,5").
std::string LevelValueNumber(int32_t level, float voltsPerDiv);

// The readout: the number followed by the unit ("50mV", "0,100000001490116V").
std::string LevelValueText(int32_t level, float voltsPerDiv, const std::string& unit);

}  // namespace wyk
