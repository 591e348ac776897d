#include "config/WindowsSettingsLocation.h"

#include <cctype>

#include "config/Settings.h"

#ifdef _WIN32
#include <windows.h>

#include "common/PlatformFile.h"
#include "config/SettingsLocation.h"
#endif

namespace wyk {
namespace {

// Text, not std::filesystem, so that the choice is the same on every build machine.
bool IsAbsoluteWindowsPath(const std::optional<std::string>& path) {
  if (!path || path->size() < 3) return false;
  const std::string& p = *path;
  const bool drive = std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' &&
                     (p[2] == '\\' || p[2] == '/');
  return drive || p.starts_with("\\\\");
}

}  // namespace

std::string ChooseWindowsSettingsPath(const WindowsSettingsPlaceFacts& facts) {
  const std::string beside = SettingsFilePath(facts.executablePath);
  if (facts.fileBesideExists || facts.folderWritable || !IsAbsoluteWindowsPath(facts.appData))
    return beside;
  std::string folder = *facts.appData;
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + "Wykresownik\\wykresownik.INI";
}

#ifdef _WIN32

namespace {

std::optional<std::string> AppData() {
  const DWORD size = ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(L"APPDATA", value.data(), size));
  return PathText(std::filesystem::path(value));
}

}  // namespace

std::string SettingsPathFor(const std::string& executablePath) {
  const std::string beside = SettingsFilePath(executablePath);
  const std::string folder = PathText(FilePath(beside).parent_path());
  return ChooseWindowsSettingsPath({executablePath, StatusOf(beside).has_value(),
                                    IsWritable(folder.empty() ? "." : folder), AppData()});
}

std::string SettingsPathForThisProgram() {
  std::wstring self(32768, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return SettingsPathFor(self.empty() ? "wykresownik.exe" : PathText(std::filesystem::path(self)));
}

#endif

}  // namespace wyk
