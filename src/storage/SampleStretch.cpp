#include "storage/SampleStretch.h"

#include <algorithm>

namespace wyk {
namespace {

// Thousands apart by spaces, as Polish writes them.
std::string Grouped(int64_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), " ");
  return digits;
}

}  // namespace

SampleSpan Clip(SampleSpan range, int64_t available) {
  const int64_t first = std::clamp<int64_t>(range.first, 0, available);
  return {first, std::clamp<int64_t>(range.end, first, available)};
}

SampleSpan FirstSamples(SampleSpan range, int64_t limit) {
  return {range.first, range.first + std::min(range.Count(), limit)};
}

SampleSpan StretchRange(Stretch stretch, SampleSpan view, SampleSpan cursors, int64_t available) {
  switch (stretch) {
    case Stretch::kView:
      return Clip(view, available);
    case Stretch::kCursors:
      return Clip(cursors, available);
    case Stretch::kWhole:
      break;
  }
  return {0, available};
}

std::string SamplesText(SampleSpan range) {
  if (range.Count() <= 0) return {};
  return "próbki " + Grouped(range.first) + " … " + Grouped(range.end - 1);
}

}  // namespace wyk
