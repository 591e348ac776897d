#pragma once
// Messages about the serial link, shown when a live recording cannot start.

namespace wyk {

inline constexpr const char* kSerialErrorCaption = "Błąd!";
inline constexpr const char* kCannotOpenPortText = "Nie mogę otworzyc portu!";
inline constexpr const char* kNoDeviceText = "Nie wykryto urządzenia!";

}  // namespace wyk
