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

void ClearWorkBuffers(RecorderState& state) {
  state.live.receiveBuffer.fill(0);
  state.live.liveValues.fill(0);
  state.view.plotValues.fill(0);
  state.view.windowBuffer.fill(0);
}

void AppendLiveSamples(RecorderState& state, int32_t n) {
  std::copy(state.live.liveValues.begin() + n, state.live.liveValues.end(),
            state.live.liveValues.begin());
  const bool scaled = state.live.recordingAdapterType == 1 && state.scales.softwareGain != 1.0f;
  for (int32_t i = 0; i < n; ++i) {
    uint8_t& byte = state.live.receiveBuffer[static_cast<size_t>(i)];
    if (scaled) {
      const double v = std::trunc(static_cast<double>(byte) * state.scales.softwareGain);
      byte = static_cast<uint8_t>(std::min(v, 255.0));
    }
    state.live.liveValues[static_cast<size_t>(kPlotWidth - n + i)] = byte;
  }
}

StartFailure ConnectAdapter(RecorderState& state, SerialLink& link) {
  link.ClosePort();
  if (!link.OpenPort(state)) return StartFailure::kCannotOpenPort;
  link.Pause(kDetectPauseMs);
  if (!AdapterAnswered(link.DetectAdapter(state))) {
    link.ClosePort();
    return StartFailure::kNoDevice;
  }
  return StartFailure::kNone;
}

void BeginRecording(RecorderState& state, SerialLink& link, const std::string& name,
                    TDateTime now) {
  TakeSelectedScales(state);
  ClearWorkBuffers(state);
  link.SendSettings(state);
  state.recording.recordingStart = now;
  try {
    WriteRecordingParameters(RecordingFileName(name, ".osi"),
                             {state.recording.recordingStart, state.scales.samplePeriodMs,
                              state.scales.voltsPerDiv, state.scales.voltsUnit});
  } catch (const AppError&) {
    link.StopAndClosePort(state);
    throw;
  }
  state.live.recordedSampleCount = 0;
  state.live.recordingAdapterType = state.settings.adapterType;
  state.live.recordingActive = true;
  state.recording.dataFile.SyncPeriodically(kSyncPeriod);
}

LiveTick LiveRecordingTick(RecorderState& state, SerialLink& link, TDateTime now) {
  LiveTick tick;
  const int waiting = std::min(link.BytesWaiting(), kMaxBytesPerTick);
  const int decimation = std::max(state.scales.sampleDecimation, 1);
  if (waiting < decimation) {
    if (link.Failed()) tick.end = RecordingEnd::kLinkLost;
    return tick;
  }
  const int32_t room = std::numeric_limits<int32_t>::max() - state.live.recordedSampleCount;
  // The port is asked only for bytes it has, so a short read means it failed; what was read
  // is kept, nothing of an earlier tick is stored again.
  const int wanted = decimation == 1 ? std::min(waiting, room) : decimation;
  const int read = std::max(link.Read(state.live.receiveBuffer.data(), wanted), 0);
  if (read < wanted) tick.end = RecordingEnd::kLinkLost;
  const int32_t n = decimation == 1 ? read : std::min(read, 1);
  if (n == 0) return tick;

  state.live.recordedSampleCount += n;
  AppendLiveSamples(state, n);
  tick.stored = n;
  tick.absoluteTime = TimeText(now);
  const double elapsedMs =
      std::trunc(static_cast<double>(state.live.recordedSampleCount) * state.scales.samplePeriodMs);
  tick.relativeTime = TimeText(DateTimeAfterMs(state.recording.relativeTimeOrigin, elapsedMs));
  tick.gridOffset = kLiveGridSpacing - state.live.recordedSampleCount % kLiveGridSpacing;
  if (!state.recording.dataFile.Append(state.live.receiveBuffer.data(), n) ||
      state.recording.dataFile.SyncFailed())
    tick.end = RecordingEnd::kWriteFailed;
  else if (tick.end == RecordingEnd::kNone &&
           state.live.recordedSampleCount == std::numeric_limits<int32_t>::max())
    tick.end = RecordingEnd::kFull;
  return tick;
}

bool EndRecording(RecorderState& state, SerialLink& link, bool sendStopByte) {
  if (sendStopByte)
    link.StopAndClosePort(state);
  else
    link.ClosePort();
  ClearWorkBuffers(state);
  state.live.recordingActive = false;
  return state.recording.dataFile.Flush();
}

}  // namespace wyk
