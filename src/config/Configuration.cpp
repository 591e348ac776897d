#include "config/Configuration.h"

#include "common/Byte.h"
#include "common/FileText.h"
#include "config/Settings.h"

namespace wyk {

std::string MainWindowCaption(uint8_t adapterType) {
  std::string caption = "KWARN Wykresownik ";
  if (adapterType < kAdapterEntries.size()) caption += kAdapterEntries[adapterType];
  return caption;
}

int PortItemOf(uint8_t comPortNumber) {
  return comPortNumber > 8 ? 7 : comPortNumber - 1;
}

int AdapterEntryOf(uint8_t adapterType) {
  return adapterType < kAdapterEntries.size() ? adapterType : -1;
}

std::string PortDeviceHint(const Settings& settings, int number) {
  const std::string& mapped = settings.comDevicePaths.at(static_cast<size_t>(number));
  return mapped.empty() ? "/dev/ttyS" + std::to_string(number - 1) : FileText(mapped);
}

std::string ChoiceRefusal(const DialogChoice& choice) {
  if (choice.portItem < 0 || choice.portItem > 7) return "Wybierz port: Com1 … Com8!";
  if (choice.adapterEntry < 0 || choice.adapterEntry >= static_cast<int>(kAdapterEntries.size())) {
    std::string text = "Wybierz typ przystawki z listy: ";
    for (size_t i = 0; i < kAdapterEntries.size(); ++i) {
      if (i > 0) text += i + 1 < kAdapterEntries.size() ? ", " : " lub ";
      text += kAdapterEntries[i];
    }
    return text + "!";
  }
  const std::optional<int32_t> offset = ParseInteger(choice.offsetText);
  if (!offset || *offset < 0 || *offset > 255) return "Składowa stała musi być liczbą od 0 do 255!";
  return "";
}

void TakeDialogChoice(Settings& settings, const DialogChoice& choice) {
  settings.comPortNumber = LowByte(choice.portItem + 1);
  settings.adapterType = LowByte(choice.adapterEntry);
  settings.dcOffset = LowByte(ParseInteger(choice.offsetText).value_or(0));
}

void SnapshotSettings(const Settings& settings, Settings& savedSettings) {
  savedSettings = settings;
}

void RestoreSnapshot(Settings& settings, const Settings& savedSettings) {
  settings = savedSettings;
}

}  // namespace wyk
