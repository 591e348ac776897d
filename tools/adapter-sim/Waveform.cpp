#include "Waveform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {
namespace {

// A well-mixed 64-bit value of `x`, so noise needs no state (splitmix64).
uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// -1 … 1 over one cycle; `phase` is the fraction of the cycle, 0 ≤ phase < 1.
double UnitWave(WaveShape shape, double phase, int64_t index) {
  switch (shape) {
    case WaveShape::kSine:
      return std::sin(2 * std::numbers::pi * phase);
    case WaveShape::kSquare:
      return phase < 0.5 ? 1 : -1;
    case WaveShape::kTriangle:
      return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    case WaveShape::kSawtooth:
      return 2 * phase - 1;
    case WaveShape::kNoise:
      return 2 * static_cast<double>(Mix(static_cast<uint64_t>(index)) >> 11) / 0x1p53 - 1;
    case WaveShape::kRamp:
      break;
  }
  return 0;
}

}  // namespace

std::optional<WaveShape> WaveShapeNamed(const std::string& name) {
  if (name == "sine") return WaveShape::kSine;
  if (name == "square") return WaveShape::kSquare;
  if (name == "triangle") return WaveShape::kTriangle;
  if (name == "sawtooth") return WaveShape::kSawtooth;
  if (name == "noise") return WaveShape::kNoise;
  if (name == "ramp") return WaveShape::kRamp;
  return std::nullopt;
}

uint8_t WaveSample(const Waveform& wave, int64_t index, double periodSeconds) {
  if (wave.shape == WaveShape::kRamp) return static_cast<uint8_t>(index & 0xFF);
  const double cycles = wave.frequencyHz * periodSeconds * static_cast<double>(index);
  const double phase = cycles - std::floor(cycles);
  const double value = wave.offset + wave.amplitude * UnitWave(wave.shape, phase, index);
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace sim
