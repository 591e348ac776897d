#pragma once
// The signal the simulated adapter samples, in sample units (0..255).

#include <cstdint>
#include <optional>
#include <string>

namespace sim {

enum class WaveShape { kSine, kSquare, kTriangle, kSawtooth, kNoise, kRamp };

struct Waveform {
  WaveShape shape = WaveShape::kSine;
  double frequencyHz = 50;
  double amplitude = 100;
  double offset = 128;
};

std::optional<WaveShape> WaveShapeNamed(const std::string& name);

// Sample number `index` of a stream sampled every `periodSeconds`. Ramp ignores the period,
// frequency, amplitude and offset: 0, 1, …, 255, 0, …
uint8_t WaveSample(const Waveform& wave, int64_t index, double periodSeconds);

}  // namespace sim
