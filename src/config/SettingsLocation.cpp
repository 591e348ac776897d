#include "config/SettingsLocation.h"

#ifndef _WIN32  // WindowsSettingsLocation.cpp for Windows
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "config/Settings.h"

namespace wyk {
namespace {

[[maybe_unused]] std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

bool IsAbsolute(const std::optional<std::string>& path) {
  return path && !path->empty() && path->front() == '/';
}

#ifndef _WIN32
bool InstalledForAll(const std::string& folder) {
  struct stat facts {};
  if (::stat(folder.c_str(), &facts) != 0) return false;
  if (facts.st_uid != ::geteuid()) return true;
  std::error_code ignored;
  const std::string real = std::filesystem::weakly_canonical(folder, ignored).string() + "/";
  return real.starts_with("/usr/") || real.starts_with("/opt/");
}
#endif

}  // namespace

std::string ChooseSettingsPath(const SettingsPlaceFacts& facts) {
  const std::string beside = SettingsFilePath(facts.executablePath);
  if (!facts.installedForAll && (facts.fileBesideExists || facts.folderWritable)) return beside;
  std::filesystem::path folder;
  if (IsAbsolute(facts.xdgConfigHome))
    folder = *facts.xdgConfigHome;
  else if (IsAbsolute(facts.home))
    folder = std::filesystem::path(*facts.home) / ".config";
  else
    return facts.installedForAll ? std::string() : beside;
  return (folder / "wykresownik" / "wykresownik.INI").string();
}

#ifndef _WIN32
std::string SettingsPathFor(const std::string& executablePath) {
  const std::string beside = SettingsFilePath(executablePath);
  std::optional<std::string> home = Environment("HOME");
  if (!home)
    if (const passwd* user = ::getpwuid(::getuid())) home = user->pw_dir;
  std::error_code ignored;
  const std::string folder = std::filesystem::path(beside).parent_path().string();
  return ChooseSettingsPath({executablePath, std::filesystem::exists(beside, ignored),
                             ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0,
                             Environment("XDG_CONFIG_HOME"), home,
                             InstalledForAll(folder.empty() ? "." : folder)});
}

std::string SettingsPathForThisProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return SettingsPathFor(error ? "wykresownik" : self.string());
}

#endif

}  // namespace wyk
