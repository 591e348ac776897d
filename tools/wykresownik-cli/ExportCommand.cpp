// export: the samples as CSV rows for spreadsheets, as an 8-bit WAV file for audio tools or as a
// sigrok session for sigrok-cli and PulseView.

#include "Command.h"
#include "CsvOptions.h"
#include "Files.h"
#include "RangeOptions.h"
#include "export/SampleExport.h"
#ifdef WYK_SIGROK
#include "export/SigrokSession.h"
#endif

namespace wyk::cli {
namespace {

int RunExport(const Arguments& arguments) {
  const bool csv = arguments.Has("csv"), wav = arguments.Has("wav"), sr = arguments.Has("sr");
  if (csv + wav + sr != 1)
    throw CliError(kBadUsage, "podaj dokładnie jedno z --csv PLIK, --wav PLIK i --sr PLIK");
#ifndef WYK_SIGROK
  if (sr) throw CliError(kBadUsage, "--sr: ta wersja programu nie zapisuje sesji sigrok");
#endif
  if (!csv && (arguments.Has("separator") || arguments.Has("decimal")))
    throw CliError(kBadUsage, "--separator i --decimal dotyczą tylko --csv");
  const CsvFormat format = CsvFormatOf(arguments);
  const std::string& name = arguments.positional[0];
  const StoredRecording recording = OpenInput(name);
  const SampleRange range = RangeOf(arguments, recording.sampleCount);
  const auto out = OpenOutput(arguments, csv ? "csv" : wav ? "wav" : "sr", name);
  if (csv)
    ExportCsv(recording, range, format, *out);
  else if (wav)
    ExportWav(recording, range, *out);
#ifdef WYK_SIGROK
  else
    ExportSigrok(recording, range, *out);
#endif
  out->Commit();
  WarnIfToBeyondEnd(arguments, "export", recording.sampleCount, range, "wyeksportowano");
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "export",
    20,
    "próbki do CSV (arkusze), WAV (programy audio) lub sesji sigrok",
    "Użycie: wykresownik-cli export PLIK --csv WYJŚCIE [--from N] [--to N]\n"
    "                               [--separator ZNAK] [--decimal ZNAK] [--force]\n"
    "        wykresownik-cli export PLIK --wav WYJŚCIE [--from N] [--to N] [--force]\n"
    "        wykresownik-cli export PLIK --sr WYJŚCIE [--from N] [--to N] [--force]\n"
    "\n"
    "--csv WYJŚCIE   wiersz nagłówka, potem wiersz na próbkę: indeks, czas w ms od początku\n"
    "                (indeks × okres zaokrąglony do 7 cyfr znaczących), zapisany bajt i\n"
    "                wartość w jednostce nagrania, jak odczytuje ją kursor (bajty 251…255\n"
    "                jak 250, górna krawędź wykresu). Wiersze kończy CR LF.\n"
    "--separator Z   znak między polami, domyślnie ';' (\"tab\" to tabulator)\n"
    "--decimal Z     znak dziesiętny, ',' (domyślnie) lub '.'\n"
    "--wav WYJŚCIE   próbki jako WAV: mono, 8 bitów bez znaku, 1000 / okres Hz zaokrąglone\n"
    "                do całych herców (co najmniej 1 Hz)\n"
    "--sr WYJŚCIE    sesja sigrok (srzip, wersja 2) dla sigrok-cli i PulseView: jeden kanał\n"
    "                analogowy nazwany jednostką nagrania, wartości jak w CSV (float32),\n"
    "                1000 / okres Hz zaokrąglone do całych herców\n"
    "--from N        pierwsza próbka (domyślnie 0)\n"
    "--to N          próbka za ostatnią (domyślnie liczba próbek)\n"
    "WYJŚCIE \"-\" to wyjście standardowe.\n"
    "--force         nadpisz istniejący plik wyjściowy\n",
    {{"csv"}, {"wav"}, {"sr"}, {"from"}, {"to"}, {"separator"}, {"decimal"}, {"force", false}},
    RunExport,
});

}  // namespace
}  // namespace wyk::cli
