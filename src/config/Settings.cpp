#include "config/Settings.h"

#include <filesystem>

#include "common/Byte.h"
#include "common/PlatformFile.h"
#include "storage/ProfileFile.h"

namespace wyk {

std::string SettingsFilePath(const std::string& executablePath) {
  std::filesystem::path path = FilePath(executablePath);
  path.replace_extension(".INI");
  return PathText(path);
}

std::optional<int32_t> ParseInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') {
    ++i;
    if (i == text.size()) return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      int digit;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      else
        return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // Hexadecimal fills all 32 bits: $FFFFFFFF is -1.
    const auto bits = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
  }
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t ReadIntegerEntry(const std::string& path, const std::string& section,
                         const std::string& key, int32_t defaultValue) {
  std::string text = ReadProfileString(path, section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.replace(0, 2, "$");
  return ParseInteger(text).value_or(defaultValue);
}

void LoadSettings(Settings& settings, const std::string& path) {
  settings.lineColor = static_cast<TColor>(ReadIntegerEntry(path, "COL", "clLinia", 65280));
  settings.backgroundColor = static_cast<TColor>(ReadIntegerEntry(path, "COL", "clTlo", 0));
  settings.gridColor = static_cast<TColor>(ReadIntegerEntry(path, "COL", "clSiatka", 32768));
  settings.comPortNumber = LowByte(ReadIntegerEntry(path, "COM", "Port", 1));
  settings.adapterType = LowByte(ReadIntegerEntry(path, "COM", "Typ", 2));
  settings.dcOffset = LowByte(ReadIntegerEntry(path, "COM", "SkladowaStala", 120));
  // Linux devices for the port numbers, e.g. COM1=/dev/ttyUSB0; never written back.
  for (size_t n = 1; n < settings.comDevicePaths.size(); ++n)
    settings.comDevicePaths[n] = ReadProfileString(path, "COM", "COM" + std::to_string(n), "");
  settings.envelopeView = ReadIntegerEntry(path, "WIDOK", "Obwiednia", 0) != 0;
}

// The per-user folder is made by the first save; a failure shows at the first write.
static void MakeFolderOf(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path folder = FilePath(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
}

void SaveSettings(const Settings& settings, const std::string& path) {
  MakeFolderOf(path);
  const auto text = [](long long v) { return std::to_string(v); };
  // Colours are written as the signed 32-bit values they are read back as.
  const auto colour = [&](TColor c) { return text(static_cast<int32_t>(c)); };
  WriteProfileString(path, "COL", "clLinia", colour(settings.lineColor));
  WriteProfileString(path, "COL", "clTlo", colour(settings.backgroundColor));
  WriteProfileString(path, "COL", "clSiatka", colour(settings.gridColor));
  WriteProfileString(path, "COM", "Port", text(settings.comPortNumber));
  WriteProfileString(path, "COM", "Typ", text(settings.adapterType));
  WriteProfileString(path, "COM", "SkladowaStala", text(settings.dcOffset));
}

void SaveEnvelopeView(const Settings& settings, const std::string& path) {
  MakeFolderOf(path);
  WriteProfileString(path, "WIDOK", "Obwiednia", settings.envelopeView ? "1" : "0");
}

}  // namespace wyk
