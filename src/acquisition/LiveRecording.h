#pragma once
// The live recording without its window: bringing the adapter up, one timer tick, and the
// end. The window wires these to Start, Timer1 and Stop; a command-line tool can do the same.

#include <chrono>
#include <cstdint>
#include <string>

#include "acquisition/LiveSession.h"
#include "acquisition/SerialLink.h"
#include "common/DateTime.h"
#include "config/Settings.h"
#include "storage/OpenRecording.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

constexpr int kTickIntervalMs = 10;
constexpr int kMaxBytesPerTick = 500;  // the rest waits for the next tick
constexpr int kDetectPauseMs = 500;    // between opening the port and the handshake
constexpr int kLiveGridSpacing = 25;
// How often the samples written are flushed to the disk while recording.
constexpr std::chrono::milliseconds kSyncPeriod{1000};

inline constexpr const char* kLinkLostText = "Utracono połączenie z urządzeniem!";
inline constexpr const char* kWriteFailedText = "Błąd zapisu pliku!";
inline constexpr const char* kRecordingFullText =
    "Rejestracja osiągnęła największą możliwą liczbę próbek (2147483647)!";
inline constexpr const char* kRecordingFullCaption = "Uwaga";

// Zeroes receiveBuffer, liveValues, plotValues and windowBuffer.
void ClearWorkBuffers(LiveSession& live, ViewWindow& view);

// Shifts the n newest samples, the front of receiveBuffer, into liveValues. A type 1 adapter's
// bytes are scaled by softwareGain (truncated, at most 255) in receiveBuffer as well, so they
// are stored scaled.
void AppendLiveSamples(const Scales& scales, LiveSession& live, int32_t n);

enum class StartFailure { kNone, kCannotOpenPort, kNoDevice };

// Opens the port (closing one left open), pauses and detects the adapter. Without an adapter
// the port is closed again, without a stop byte.
StartFailure ConnectAdapter(const Settings& settings, LiveSession& live, SerialLink& link);

// Once the adapter answered: takes the period and range of the selected buttons, clears the
// buffers and the summary, sends the settings, stamps the start `now`, writes the parameter file of
// `name`, sets the recording running and the sample file flushing to the disk every kSyncPeriod.
// When the parameter file cannot be written the adapter is stopped and the port closed before the
// error is raised.
void BeginRecording(const Settings& settings, Scales& scales, LiveSession& live,
                    OpenRecording& recording, ViewWindow& view, SerialLink& link,
                    const std::string& name, TDateTime now);

// Why a recording has to end by itself.
enum class RecordingEnd {
  kNone,
  kLinkLost,     // the port failed or the device is gone: no stop byte can reach it
  kWriteFailed,  // the sample file took fewer bytes than it was given, or a flush failed
  kFull,         // recordedSampleCount reached its largest value
};

// What one tick changed. The `stored` new samples are the newest of liveValues.
struct LiveTick {
  int32_t stored = 0;        // 0: labels, plot and file stay as they were
  std::string relativeTime;  // tREL
  std::string absoluteTime;  // tABS
  int32_t gridOffset = 0;    // for the live plot
  RecordingEnd end = RecordingEnd::kNone;
};

// One tick: up to 500 waiting bytes (or one sample of d bytes when decimating) are stored in
// liveValues and appended to the sample file and to live.summary. Draws nothing. `now` is the wall
// clock for tABS.
LiveTick LiveRecordingTick(const Scales& scales, LiveSession& live, OpenRecording& recording,
                           SerialLink& link, TDateTime now);

// Ends the recording: the stop byte (unless the device is gone) and the port closed, the work
// buffers cleared, the sample file flushed to the disk. False, with errno set, when a flush
// failed: a write failure.
bool EndRecording(LiveSession& live, OpenRecording& recording, ViewWindow& view, SerialLink& link,
                  bool sendStopByte);

}  // namespace wyk
