// info: what "Otworz" would take from a recording's two files.

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "Command.h"
#include "Files.h"
#include "common/DateTime.h"
#include "export/Csv.h"
#include "storage/RecordingNames.h"
#include "storage/RecordingParameters.h"

namespace wyk::cli {
namespace {

// Hours are not wrapped at a day, unlike the window's time texts.
std::string DurationText(long double ms) {
  const auto whole = static_cast<int64_t>(std::trunc(ms));
  char text[48];
  std::snprintf(text, sizeof text, "%02" PRId64 ":%02d:%02d:%03d", whole / 3600000,
                static_cast<int>(whole / 60000 % 60), static_cast<int>(whole / 1000 % 60),
                static_cast<int>(whole % 1000));
  return text;
}

int RunInfo(const Arguments& arguments) {
  const std::string& name = arguments.positional[0];
  const StoredRecording recording = OpenInput(name);
  const RecordingParameters& p = recording.parameters;
  const std::string parameterName = RecordingFileName(name, ".osi");
  const SampleTimes times(p.samplePeriodMs);

  std::string out;
  const auto line = [&out](const char* label, const std::string& value) {
    out += label + value + "\n";
  };
  line("Plik próbek:        ", RecordingFileName(name, ".osr"));
  const ProfileFileState found = recording.parameterFile;
  line("Plik parametrów:    ", found == ProfileFileState::kRead ? parameterName
                               : found == ProfileFileState::kUnreadable
                                   ? parameterName + ": nieczytelny, wartości domyślne"
                                   : "brak, wartości domyślne");
  line("Liczba próbek:      ", std::to_string(recording.sampleCount));
  line("Okres próbkowania:  ", ParameterNumberText(p.samplePeriodMs) + " ms");
  line("V/dz:               ", ParameterNumberText(p.voltsPerDiv) + " " + p.voltsUnit);
  line("Początek:           ", DateText(p.start) + " " + TimeText(p.start));
  line("Czas trwania:       ",
       DurationText(static_cast<long double>(recording.sampleCount) * p.samplePeriodMs) + " (" +
           times.Text(recording.sampleCount, ',') + " ms)");
  std::string size = std::to_string(recording.fileSize) + " B";
  if (recording.fileSize > recording.sampleCount)
    size += ", pokazywane pierwsze " + std::to_string(recording.sampleCount) + " próbek";
  line("Rozmiar pliku:      ", size);
  std::fputs(out.c_str(), stdout);
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "info",
    10,
    "parametry nagrania: próbki, okres, V/dz, początek, czas trwania, rozmiar",
    "Użycie: wykresownik-cli info PLIK\n"
    "Wypisuje to, co przycisk \"Otworz\" odczytałby z nagrania: liczbę próbek, okres\n"
    "próbkowania, V/dz z jednostką, początek nagrania, czas trwania i rozmiar pliku próbek.\n"
    "PLIK to nazwa nagrania; rozszerzenie zastępują .osr i .osi. Brak pliku .osi to\n"
    "wartości domyślne (0,5 ms, 10 mV), także gdy jest nieczytelny albo gdy jego wartość\n"
    "nie daje się przedstawić; pusty lub brakujący plik .osr to kod wyjścia 2.\n",
    {},
    RunInfo,
});

}  // namespace
}  // namespace wyk::cli
