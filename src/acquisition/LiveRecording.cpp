#include "acquisition/LiveRecording.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/Errors.h"
#include "storage/RecordingNames.h"
#include "storage/RecordingParameters.h"
#include "view/Selectors.h"

namespace wyk {

void ClearWorkBuffers(LiveSession& live, ViewWindow& view) {
  live.receiveBuffer.fill(0);
  live.liveValues.fill(0);
  view.plotValues.fill(0);
  view.windowBuffer.fill(0);
  view.windowSamples = 0;
}

void AppendLiveSamples(const Scales& scales, LiveSession& live, int32_t n) {
  std::copy(live.liveValues.begin() + n, live.liveValues.end(), live.liveValues.begin());
  const bool scaled = live.recordingAdapterType == 1 && scales.softwareGain != 1.0f;
  for (int32_t i = 0; i < n; ++i) {
    uint8_t& byte = live.receiveBuffer[static_cast<size_t>(i)];
    if (scaled) {
      const double v = std::trunc(static_cast<double>(byte) * scales.softwareGain);
      byte = static_cast<uint8_t>(std::min(v, 255.0));
    }
    live.liveValues[static_cast<size_t>(kPlotWidth - n + i)] = byte;
  }
}

StartFailure ConnectAdapter(const Settings& settings, LiveSession& live, SerialLink& link) {
  link.ClosePort();
  if (!link.OpenPort(settings)) return StartFailure::kCannotOpenPort;
  link.Pause(kDetectPauseMs);
  if (!AdapterAnswered(link.DetectAdapter(settings, live))) {
    link.ClosePort();
    return StartFailure::kNoDevice;
  }
  return StartFailure::kNone;
}

void BeginRecording(const Settings& settings, Scales& scales, LiveSession& live,
                    OpenRecording& recording, ViewWindow& view, SerialLink& link,
                    const std::string& name, TDateTime now) {
  TakeSelectedScales(scales);
  ClearWorkBuffers(live, view);
  link.SendSettings(settings, scales, live);
  recording.recordingStart = now;
  try {
    WriteRecordingParameters(
        RecordingFileName(name, ".osi"),
        {recording.recordingStart, scales.samplePeriodMs, scales.voltsPerDiv, scales.voltsUnit});
  } catch (const AppError&) {
    link.StopAndClosePort(live);
    throw;
  }
  live.recordedSampleCount = 0;
  live.summary.Clear();
  live.recordingAdapterType = settings.adapterType;
  live.recordingActive = true;
  recording.dataFile.SyncPeriodically(kSyncPeriod);
}

LiveTick LiveRecordingTick(const Scales& scales, LiveSession& live, OpenRecording& recording,
                           SerialLink& link, TDateTime now) {
  LiveTick tick;
  const int waiting = std::min(link.BytesWaiting(), kMaxBytesPerTick);
  const int decimation = std::max(scales.sampleDecimation, 1);
  if (waiting < decimation) {
    if (link.Failed()) tick.end = RecordingEnd::kLinkLost;
    return tick;
  }
  const int32_t room = std::numeric_limits<int32_t>::max() - live.recordedSampleCount;
  // The port is asked only for bytes it has, so a short read means it failed; what was read
  // is kept, nothing of an earlier tick is stored again.
  const int wanted = decimation == 1 ? std::min(waiting, room) : decimation;
  const int read = std::max(link.Read(live.receiveBuffer.data(), wanted), 0);
  if (read < wanted) tick.end = RecordingEnd::kLinkLost;
  const int32_t n = decimation == 1 ? read : std::min(read, 1);
  if (n == 0) return tick;

  live.recordedSampleCount += n;
  AppendLiveSamples(scales, live, n);
  tick.stored = n;
  tick.absoluteTime = TimeText(now);
  const double elapsedMs =
      std::trunc(static_cast<double>(live.recordedSampleCount) * scales.samplePeriodMs);
  tick.relativeTime = TimeText(DateTimeAfterMs(recording.relativeTimeOrigin, elapsedMs));
  tick.gridOffset = kLiveGridSpacing - live.recordedSampleCount % kLiveGridSpacing;
  const bool written = recording.dataFile.Append(live.receiveBuffer.data(), n);
  // After a failed write the summary no longer knows what the file holds.
  if (written)
    live.summary.Append(live.receiveBuffer.data(), n);
  else
    live.summary.Clear();
  if (!written || recording.dataFile.SyncFailed())
    tick.end = RecordingEnd::kWriteFailed;
  else if (tick.end == RecordingEnd::kNone &&
           live.recordedSampleCount == std::numeric_limits<int32_t>::max())
    tick.end = RecordingEnd::kFull;
  return tick;
}

bool EndRecording(LiveSession& live, OpenRecording& recording, ViewWindow& view, SerialLink& link,
                  bool sendStopByte) {
  if (sendStopByte)
    link.StopAndClosePort(live);
  else
    link.ClosePort();
  ClearWorkBuffers(live, view);
  live.recordingActive = false;
  return recording.dataFile.Flush();
}

}  // namespace wyk
