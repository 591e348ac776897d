#include "acquisition/AdapterFrames.h"

#include "common/Byte.h"

namespace wyk {

uint8_t FrameChecksum(const uint8_t* bytes, int count) {
  int sum = 0;
  for (int i = 0; i < count; ++i) sum += bytes[i];
  return LowByte(sum);
}

int HandshakeLength(int adapterType) {
  if (adapterType == 0 || adapterType == 1) return 5;
  if (adapterType == 2) return 6;
  return 0;
}

int SettingsFrameLength(int adapterType) {
  return HandshakeLength(adapterType);
}

int BuildHandshakeFrame(int adapterType, CommandFrame& frame) {
  const int length = HandshakeLength(adapterType);
  if (length == 0) return 0;
  for (int i = 0; i < length - 1; ++i) frame[i] = 0x00;
  frame[1] = 0x55;
  frame[length - 1] = FrameChecksum(frame.data(), length - 1);
  return length;
}

int BuildSettingsFrame(const Settings& settings, const Scales& scales, LiveSession& live) {
  CommandFrame& frame = live.commandFrame;
  const uint8_t rateCode = LowByte(kRateCodeBase + scales.samplePeriodIndex);
  if (settings.adapterType == 1) {
    frame[0] = 0x00;
    frame[1] = rateCode;
    frame[2] = scales.rangeCode;
    frame[3] = 0x00;
    frame[4] = FrameChecksum(frame.data(), 4);
    return 5;
  }
  if (scales.couplingMode == kCouplingAc) frame[0] = 0x00;
  if (scales.couplingMode == kCouplingDc) frame[0] = kDcCouplingByte;
  frame[1] = rateCode;
  frame[2] = settings.dcOffset;
  frame[3] = 0x80;
  frame[4] = scales.couplingMode == kCouplingGnd ? 0 : scales.voltsPerDivIndex;
  frame[5] = FrameChecksum(frame.data(), 5);
  return SettingsFrameLength(settings.adapterType);
}

}  // namespace wyk
