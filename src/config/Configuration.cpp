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

std::string PortDeviceHint(const RecorderState& state, int number) {
  const std::string& mapped = state.settings.comDevicePaths.at(static_cast<size_t>(number));
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

void TakeDialogChoice(RecorderState& state, const DialogChoice& choice) {
  state.settings.comPortNumber = LowByte(choice.portItem + 1);
  state.settings.adapterType = LowByte(choice.adapterEntry);
  state.settings.dcOffset = LowByte(ParseInteger(choice.offsetText).value_or(0));
}

void SnapshotSettings(RecorderState& state) {
  state.savedSettings = state.settings;
}

void RestoreSnapshot(RecorderState& state) {
  state.settings = state.savedSettings;
}

void DrawColourPreview(const RecorderState& state, Canvas& surface) {
  const Rect r = kColourPreview;
  // The last stroke of the trace runs to x 289; a canvas ending at the preview's right and
  // bottom edges keeps it inside.
  Canvas preview(r.right, r.bottom);
  preview.SetBrushColor(state.settings.backgroundColor);
  preview.SetPenColor(state.settings.gridColor);
  preview.Rectangle(r.left, r.top, r.right, r.bottom);
  for (int y : {33, 58, 83}) {
    preview.MoveTo(r.left, y);
    preview.LineTo(r.right, y);
  }
  for (int x : {258, 283}) {
    preview.MoveTo(x, r.top);
    preview.LineTo(x, r.bottom);
  }
  preview.SetPenColor(state.settings.lineColor);
  preview.MoveTo(233, 103);
  preview.LineTo(258, 15);
  preview.LineTo(283, 103);
  preview.LineTo(289, 15);
  surface.CopyRect(preview, r, r.left, r.top);
}

}  // namespace wyk
