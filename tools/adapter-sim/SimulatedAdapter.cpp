#include "SimulatedAdapter.h"

#include <algorithm>
#include <cstdio>

#include "RateCodes.h"
#include "acquisition/AdapterFrames.h"

namespace sim {
namespace {

constexpr int64_t kMaxBurst = 4096;  // samples sent at most per call; more is a stall, dropped

std::string Hex(uint8_t byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

}  // namespace

std::string HexBytes(const uint8_t* bytes, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += Hex(bytes[i]);
  }
  return text;
}

SimulatedAdapter::SimulatedAdapter(AdapterBehaviour behaviour, Send send, Note note)
    : behaviour_(std::move(behaviour)), send_(std::move(send)), note_(std::move(note)) {}

void SimulatedAdapter::Restart() {
  state_ = State::kWaitingForHandshake;
  frame_.clear();
}

bool SimulatedAdapter::UnplugDue() const {
  return behaviour_.unplugAfter >= 0 && streamedBytes_ >= behaviour_.unplugAfter;
}

void SimulatedAdapter::Receive(const uint8_t* bytes, int count, int64_t nowNs) {
  for (int i = 0; i < count; ++i) {
    switch (state_) {
      case State::kWaitingForHandshake:
        TakeHandshakeByte(bytes[i]);
        break;
      case State::kWaitingForSettings:
        TakeSettingsByte(bytes[i], nowNs);
        break;
      case State::kStreaming:
        TakeStreamingByte(bytes[i]);
        break;
    }
  }
}

void SimulatedAdapter::TakeHandshakeByte(uint8_t byte) {
  wyk::CommandFrame handshake{};
  const int length = wyk::BuildHandshakeFrame(behaviour_.adapterType, handshake);
  frame_.push_back(byte);
  if (static_cast<int>(frame_.size()) > length) {
    note_("pominiety " + Hex(frame_.front()));
    frame_.erase(frame_.begin());
  }
  if (static_cast<int>(frame_.size()) < length ||
      !std::equal(frame_.begin(), frame_.end(), handshake.begin()))
    return;
  note_("powitanie " + HexBytes(frame_.data(), length));
  frame_.clear();
  if (behaviour_.reply) send_(&behaviour_.replyByte, 1);
  if (!behaviour_.extraBytes.empty())
    send_(behaviour_.extraBytes.data(), static_cast<int>(behaviour_.extraBytes.size()));
  state_ = State::kWaitingForSettings;
}

void SimulatedAdapter::TakeSettingsByte(uint8_t byte, int64_t nowNs) {
  frame_.push_back(byte);
  const int length = wyk::SettingsFrameLength(behaviour_.adapterType);
  if (static_cast<int>(frame_.size()) < length) return;
  std::string line = "ustawienia " + HexBytes(frame_.data(), length);
  // Type 0 frames carry no checksum; types 1 and 2 end in one.
  bool accepted = true;
  if (behaviour_.adapterType == 0) {
    line += " suma=brak";
  } else {
    const bool sumOk = wyk::FrameChecksum(frame_.data(), length - 1) == frame_[length - 1];
    line += sumOk ? " suma=ok" : " suma=zla";
    accepted = sumOk;
  }
  const int periodUs = SamplePeriodMicroseconds(frame_[1]);
  line += periodUs ? " okres=" + std::to_string(periodUs) + "us" : " okres=brak";
  accepted = accepted && periodUs > 0;
  if (!accepted) line += " odrzucona";
  note_(line);
  const uint8_t stopByte = frame_[0];
  frame_.clear();
  if (!accepted) {
    state_ = State::kWaitingForHandshake;
    return;
  }
  stopByte_ = stopByte;
  StartStream(periodUs, nowNs);
}

void SimulatedAdapter::StartStream(int periodUs, int64_t nowNs) {
  periodNs_ = int64_t{periodUs} * 1000;
  streamStartNs_ = nowNs;
  nextSample_ = 0;
  state_ = State::kStreaming;
}

void SimulatedAdapter::TakeStreamingByte(uint8_t byte) {
  if (byte != stopByte_) {
    note_("inny " + Hex(byte));
    return;
  }
  note_("stop " + Hex(byte));
  state_ = State::kWaitingForHandshake;
}

void SimulatedAdapter::Stream(int64_t nowNs) {
  if (state_ != State::kStreaming || nowNs < streamStartNs_) return;
  // Sample k is due at start + k periods: paced by the clock, not by the calls.
  const int64_t due = (nowNs - streamStartNs_) / periodNs_ + 1;
  if (due - nextSample_ > kMaxBurst) nextSample_ = due - kMaxBurst;
  int64_t count = due - nextSample_;
  if (behaviour_.unplugAfter >= 0) count = std::min(count, behaviour_.unplugAfter - streamedBytes_);
  if (count <= 0) return;
  std::vector<uint8_t> samples(static_cast<size_t>(count));
  const double periodSeconds = static_cast<double>(periodNs_) * 1e-9;
  for (int64_t i = 0; i < count; ++i)
    samples[static_cast<size_t>(i)] = WaveSample(behaviour_.wave, nextSample_ + i, periodSeconds);
  const int sent = send_(samples.data(), static_cast<int>(count));
  streamedBytes_ += std::max(sent, 0);
  nextSample_ += count;
}

}  // namespace sim
