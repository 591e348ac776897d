#pragma once
// The values of the scroll bar under the plot, kept with the recorder state so that the
// zoom and scroll operations run without a window; the window's scroll bar mirrors them.

#include <algorithm>
#include <cstdint>

namespace wyk {

struct ScrollBarState {
  int32_t position = 0;  // sample index shown in plot column 0
  int32_t maximum = 0;
  int32_t thumbLength = 500;  // pixels
  int32_t smallChange = 1;
  int32_t largeChange = 25;

  // A maximum below the minimum 0 becomes 0; the position is lowered to the maximum.
  void SetMaximum(int64_t value) {
    maximum = static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
    position = std::min(position, maximum);
  }
  // The position stays within 0 … maximum.
  void SetPosition(int64_t value) {
    position = static_cast<int32_t>(std::clamp<int64_t>(value, 0, maximum));
  }

  // The thumb in a track of `track` pixels between the arrow buttons: its length, never longer
  // than the track, and its left edge counted from the track's start.
  int ThumbPixels(int track) const { return std::clamp(thumbLength, std::min(10, track), track); }
  int ThumbOffset(int track) const {
    const int64_t span = track - ThumbPixels(track);
    if (span <= 0 || maximum <= 0) return 0;
    return static_cast<int>((int64_t{position} * span + maximum / 2) / maximum);
  }
  // The position whose thumb starts `offset` pixels into the track.
  int32_t PositionAtThumb(int offset, int track) const {
    const int64_t span = track - ThumbPixels(track);
    if (span <= 0) return 0;
    const int64_t pixels = std::clamp<int64_t>(offset, 0, span);
    return static_cast<int32_t>((pixels * maximum + span / 2) / span);
  }
};

}  // namespace wyk
