// wykresownik-cli: recordings of the recorder out into other tools, and pictures of its views.

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "Command.h"
#include "common/Errors.h"
#include "common/PlatformFile.h"
#include "common/ProgramArguments.h"
#include "export/OutputFile.h"
#include "export/SampleExport.h"

namespace {

using namespace wyk::cli;

constexpr const char* kProgram = "wykresownik-cli";

std::string GeneralHelp() {
  std::string text =
      "Użycie: wykresownik-cli POLECENIE PLIK [OPCJE]\n"
      "Nagrania Wykresownika (.osr z .osi): zapis z przystawki i wyprowadzanie do innych "
      "programów.\n\n"
      "Polecenia:\n";
  for (const Command& command : Commands()) {
    std::string name = "  " + command.name;
    name.resize(12, ' ');
    text += name + command.summary + "\n";
  }
  text +=
      "\nPomoc do polecenia: wykresownik-cli POLECENIE --help\n"
      "Kody wyjścia: 0 sukces, 1 błędne użycie, 2 plik nieczytelny lub to nie nagranie,\n"
      "3 brak przystawki, 4 nie można zapisać wyniku.\n";
  return text;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int Fail(const std::string& where, int code, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", where.c_str(), message.c_str());
  if (code == kBadUsage) std::fprintf(stderr, "Pomoc: %s --help\n", where.c_str());
  return code;
}

int Run(int argc, char** argv) {
  const std::vector<std::string> all = wyk::ProgramArguments(argc, argv);
  if (all.empty()) {
    std::fputs(GeneralHelp().c_str(), stderr);
    return kBadUsage;
  }
  if (all[0] == "--help" || all[0] == "-h") {
    std::fputs(GeneralHelp().c_str(), stdout);
    return kSuccess;
  }
  const Command* command = FindCommand(all[0]);
  if (!command) return Fail(kProgram, kBadUsage, "nieznane polecenie \"" + all[0] + "\"");
  const std::string where = std::string(kProgram) + " " + command->name;
  const std::vector<std::string> args(all.begin() + 1, all.end());
  if (AsksForHelp(args)) {
    std::fputs(command->help.c_str(), stdout);
    return kSuccess;
  }
  try {
    const Arguments arguments = ParseArguments(args, command->options);
    if (arguments.positional.empty()) throw CliError(kBadUsage, "brak pliku nagrania");
    if (arguments.positional.size() > 1)
      throw CliError(kBadUsage, "nadmiarowy argument \"" + arguments.positional[1] + "\"");
    return command->run(arguments);
  } catch (const CliError& error) {
    return Fail(where, error.code, error.what());
  } catch (const wyk::OutputError& error) {
    return Fail(where, kBadOutput, error.what());
  } catch (const wyk::InputError& error) {
    return Fail(where, kBadInput, error.what());
  } catch (const wyk::AppError& error) {
    return Fail(where, kBadInput, std::string("nagranie nie daje się odczytać: ") + error.what());
  } catch (const std::bad_alloc&) {
    return Fail(where, kBadInput, "za mało pamięci");
  }
}

}  // namespace

int main(int argc, char** argv) {
  // CSV and WAV written to "-" keep their bytes; Windows would add a CR before every LF.
  wyk::UseBinaryStandardOutput();
  return Run(argc, argv);
}
