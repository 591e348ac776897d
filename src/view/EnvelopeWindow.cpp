#include "view/EnvelopeWindow.h"

#include <algorithm>
#include <vector>

namespace wyk {
namespace {

// Up to this step the window's samples are read whole (2.5 MB at most); above it the summary
// answers, with two short reads per element.
constexpr int64_t kWholeReadStep = 256;

}  // namespace

void ReadWindowEnvelope(const OpenRecording& recording, ViewWindow& view, int32_t step) {
  const int64_t stride = std::max(step, 1);
  const int64_t start = view.windowStart;
  const int64_t count = recording.sampleCount;
  view.envelopeValid = stride <= kWholeReadStep || recording.summary.Ready();
  if (!view.envelopeValid) return;
  std::vector<uint8_t> samples;
  if (stride <= kWholeReadStep) {
    const int64_t end = std::min(count, start + stride * kWindowLength);
    samples.resize(static_cast<size_t>(std::max<int64_t>(end - start, 0)));
    samples.resize(static_cast<size_t>(
        recording.dataFile.ReadAt(start, samples.data(), static_cast<int64_t>(samples.size()))));
  }
  const int64_t read = static_cast<int64_t>(samples.size());
  for (int64_t i = 0; i < kWindowLength; ++i) {
    const int64_t first = start + stride * i;
    const int64_t end = std::min(first + stride, count);
    SampleExtent e;
    if (first >= end)
      e = {view.lastReadSample, view.lastReadSample};
    else if (stride <= kWholeReadStep)
      e = first - start < read
              ? ExtentOf(samples.data() + (first - start), std::min(end, start + read) - first)
              : SampleExtent{view.lastReadSample, view.lastReadSample};
    else
      e = recording.summary.Extent(recording.dataFile, first, end);
    if (e.Empty()) e = {view.lastReadSample, view.lastReadSample};
    view.windowLeast[static_cast<size_t>(i)] = e.least;
    view.windowGreatest[static_cast<size_t>(i)] = e.greatest;
  }
}

}  // namespace wyk
