#include "app/CommandLine.h"

#ifndef WYK_VERSION
#error "WYK_VERSION is set by the build from the project's version"
#endif

namespace wyk {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnd = false;
  for (const std::string& arg : args) {
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && (arg == "--help" || arg == "-h")) {
      return {CommandLine::Action::kHelp, {}, {}};
    } else if (!optionsEnd && arg == "--version") {
      return {CommandLine::Action::kVersion, {}, {}};
    } else if (!optionsEnd && arg.starts_with('-')) {
      return {CommandLine::Action::kBadUsage, {}, "nieznana opcja \"" + arg + "\""};
    } else if (line.recording) {
      return {CommandLine::Action::kBadUsage, {}, "nadmiarowy argument \"" + arg + "\""};
    } else {
      line.recording = arg;
    }
  }
  return line;
}

std::string HelpText(const std::string& settingsRule) {
  return "Użycie: wykresownik [PLIK]\n"
         "Rejestrator jednego kanału analogowego z przystawki na porcie szeregowym.\n\n"
         "  PLIK        otwiera nagranie (.osr z .osi) tak jak \"Otworz\" z tą nazwą w polu\n"
         "  -h, --help  ten opis\n"
         "  --version   wersja programu\n\n"
         "Ustawienia: " +
         settingsRule + "\n";
}

std::string VersionText() {
  return "wykresownik " WYK_VERSION "\n";
}

std::string UsageError(const std::string& error) {
  return "wykresownik: " + error +
         "\n"
         "Użycie: wykresownik [PLIK]\n"
         "Pomoc: wykresownik --help\n";
}

}  // namespace wyk
