#pragma once
// What the configuration dialog does to the recorder state, apart from its widgets.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/Settings.h"

namespace wyk {

// Entries of the adapter box; the entry index is the adapter type.
inline constexpr std::array<std::string_view, 3> kAdapterEntries = {"TEV2R (DSC89C420)", "TEW2R",
                                                                    "TEV2R (ATMEGA8)"};

// "KWARN Wykresownik " followed by the entry of the adapter type, if there is one.
std::string MainWindowCaption(uint8_t adapterType);

// The port item (0 for "Com1") shown for a port number: none (−1) for 0, "Com8" above 8.
int PortItemOf(uint8_t comPortNumber);
// The adapter entry shown for a type: none (−1) above 2.
int AdapterEntryOf(uint8_t adapterType);
// The device "Com<number>" opens, shown as the item's hint.
std::string PortDeviceHint(const Settings& settings, int number);

// What the dialog's controls hold when OK is pressed.
struct DialogChoice {
  int portItem;            // −1: none
  int adapterEntry;        // −1: none (text typed into the box)
  std::string offsetText;  // the spin box's text
};
// Why OK cannot take the choice: no port or adapter entry chosen, or an offset that is no
// whole number from 0 to 255. Empty when it can.
std::string ChoiceRefusal(const DialogChoice& choice);
// Port, adapter type and offset from the controls of a choice that is not refused.
void TakeDialogChoice(Settings& settings, const DialogChoice& choice);

// The settings into the saved copy, and back.
void SnapshotSettings(const Settings& settings, Settings& savedSettings);
void RestoreSnapshot(Settings& settings, const Settings& savedSettings);

}  // namespace wyk
