// measure: minimum, maximum, mean, RMS, frequency and duty cycle of a stretch of samples.

#include <cstdio>
#include <string>

#include "Command.h"
#include "CsvOptions.h"
#include "Files.h"
#include "RangeOptions.h"
#include "export/Csv.h"
#include "view/MeasurementTexts.h"
#include "view/Selectors.h"

namespace wyk::cli {
namespace {

std::string CsvLines(const std::vector<FigureText>& texts, const CsvFormat& format) {
  std::string header, values;
  for (const FigureText& text : texts) {
    const std::string sep = header.empty() ? "" : std::string(1, format.separator);
    header += sep + CsvText(text.csvName + " [" + text.unit + "]", format);
    values += sep + CsvNumber(text.number, format);
  }
  return header + kCsvLineEnd + values + kCsvLineEnd;
}

int RunMeasure(const Arguments& arguments) {
  const bool csv = arguments.Has("csv");
  if (!csv && (arguments.Has("separator") || arguments.Has("decimal")))
    throw CliError(kBadUsage, "--separator i --decimal dotyczą tylko --csv");
  const CsvFormat format = CsvFormatOf(arguments);
  const StoredRecording recording = OpenInput(arguments.positional[0]);
  const SampleRange range = RangeOf(arguments, recording.sampleCount);
  const StretchFigures figures = MeasureStretch(recording.samples, {range.from, range.to});
  if (figures.count < range.to - range.from)
    throw InputError("odczyt nagrania urwał się na próbce " +
                     std::to_string(range.from + figures.count) + " z " + std::to_string(range.to) +
                     " (plik skrócony lub nieczytelny)");
  Scales scales;
  TakeRecordingScales(scales, recording.parameters);
  const std::vector<FigureText> texts = FigureTexts(figures, scales);
  const std::string out = csv ? CsvLines(texts, format)
                              : FiguresReport({range.from, range.from + figures.count}, texts);
  std::fputs(out.c_str(), stdout);
  WarnIfToBeyondEnd(arguments, "measure", recording.sampleCount, range, "zmierzono");
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "measure",
    15,
    "pomiary odcinka: min, max, średnia, RMS, częstotliwość, wypełnienie",
    "Użycie: wykresownik-cli measure PLIK [--from N] [--to N]\n"
    "                                [--csv [--separator ZNAK] [--decimal ZNAK]]\n"
    "\n"
    "Wypisuje minimum, maksimum, wartość międzyszczytową, średnią, RMS i RMS AC (wokół\n"
    "średniej) w jednostce nagrania, tak jak odczytuje je kursor (bajty 251…255 jak 250),\n"
    "a gdy odcinek obejmuje co najmniej dwa pełne okresy, także częstotliwość, okres i\n"
    "wypełnienie (z przejść przez średnią z histerezą).\n"
    "--from N        pierwsza próbka (domyślnie 0)\n"
    "--to N          próbka za ostatnią (domyślnie liczba próbek)\n"
    "--csv           zamiast tego wiersz nagłówka i wiersz wartości; puste pole, gdy\n"
    "                pomiar nie ma zastosowania\n"
    "--separator Z   znak między polami, domyślnie ';' (\"tab\" to tabulator)\n"
    "--decimal Z     znak dziesiętny, ',' (domyślnie) lub '.'\n",
    {{"csv", false}, {"from"}, {"to"}, {"separator"}, {"decimal"}},
    RunMeasure,
});

}  // namespace
}  // namespace wyk::cli
