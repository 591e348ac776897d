#include "common/ProgramArguments.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <filesystem>

#include "common/PlatformFile.h"
#endif

namespace wyk {

#ifdef _WIN32

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i)
    arguments.push_back(PathText(std::filesystem::path(wide[i])));
  ::LocalFree(wide);
  return arguments;
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return {argv + 1, argv + argc};
}

#endif

}  // namespace wyk
