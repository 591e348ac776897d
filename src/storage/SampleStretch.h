#pragma once
// The stretches of a recording a user can point at: all of it, what the plot shows, and the
// samples between cursors A and B.

#include <cstdint>
#include <limits>
#include <string>

namespace wyk {

enum class Stretch : uint8_t { kWhole, kView, kCursors };

// Samples first … end − 1.
struct SampleSpan {
  int64_t first = 0;
  int64_t end = 0;
  int64_t Count() const { return end - first; }
  bool operator==(const SampleSpan&) const = default;
};

// From the first sample to whatever the file holds.
inline constexpr SampleSpan kAllSamples{0, std::numeric_limits<int64_t>::max()};

// The range within `available` samples; empty when it starts beyond them.
SampleSpan Clip(SampleSpan range, int64_t available);

// At most `limit` samples from the range's start.
SampleSpan FirstSamples(SampleSpan range, int64_t limit);

// The samples of a stretch, given the spans of the view and of the cursors (see ViewSpan and
// CursorSpan), clipped to `available` samples.
SampleSpan StretchRange(Stretch stretch, SampleSpan view, SampleSpan cursors, int64_t available);

// "próbki 1 200 000 … 1 248 575": the first and the last sample; empty for an empty range.
std::string SamplesText(SampleSpan range);

}  // namespace wyk
