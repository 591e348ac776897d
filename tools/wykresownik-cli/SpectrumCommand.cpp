// spectrum: the FFT engine's magnitudes as CSV and the spectrum window's picture as PNG.

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "CsvOptions.h"
#include "DrawingSetup.h"
#include "Files.h"
#include "app/RecorderFiles.h"
#include "app/RecorderState.h"
#include "export/Pictures.h"
#include "export/Png.h"
#include "export/SpectrumBins.h"
#include "spectrum/SpectrumPeak.h"
#include "spectrum/SpectrumView.h"

namespace wyk::cli {
namespace {

int RunSpectrum(const Arguments& arguments) {
  const bool csv = arguments.Has("csv"), png = arguments.Has("png"), peak = arguments.Has("peak");
  if (!csv && !png && !peak)
    throw CliError(kBadUsage, "podaj --csv PLIK, --png PLIK lub --peak (albo kilka)");
  const int64_t zoom = arguments.Integer("zoom", 1, 1, 100);
  if (zoom != 1 && zoom != 10 && zoom != 100)
    throw CliError(kBadUsage, "--zoom: dozwolone 1, 10 lub 100");
  if (csv && png && arguments.Value("csv") == "-" && arguments.Value("png") == "-")
    throw CliError(kBadUsage, "tylko jedno z --csv i --png może pisać na wyjście standardowe (-)");
  if (peak && (arguments.Value("csv") == "-" || arguments.Value("png") == "-"))
    throw CliError(kBadUsage, "--peak pisze na wyjście standardowe: --csv i --png nie mogą (-)");
  const CsvFormat format = CsvFormatOf(arguments);
  const std::string& name = arguments.positional[0];
  const SampleSpan wanted{arguments.Integer("from", 0, 0, INT64_MAX),
                          arguments.Integer("to", INT64_MAX, 0, INT64_MAX)};
  if (wanted.Count() < 0) throw CliError(kBadUsage, "--from leży za --to");

  auto state = std::make_unique<RecorderState>();
  LoadViewSettings(state->settings, arguments);
  state->spectrum.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
  CheckOpened(OpenRecordingForView(*state, name), name);
  if (Clip(wanted, state->recording.sampleCount).Count() == 0)
    throw CliError(kBadUsage, "między --from a --to nie ma próbek nagrania");
  std::unique_ptr<OutputFile> csvOut, pngOut;
  if (csv) csvOut = OpenOutput(arguments, "csv", name);
  if (png) pngOut = OpenOutput(arguments, "png", name);

  // As the window does: a showing computes, then a zoom button stretches.
  if (!RefreshSpectrum(state->settings, state->scales, state->recording, state->spectrum, {},
                       wanted))
    throw CliError(kBadInput, "Nie mogę odczytać próbek z pliku " + name);
  SetFrequencyZoom(state->settings, state->scales, state->spectrum, static_cast<int>(zoom));
  if (peak) {
    const std::optional<SpectrumPeak> found = FindSpectrumPeak(state->scales, state->spectrum);
    std::printf("%s\n%s\n", SamplesText(AnalysedRange(state->spectrum)).c_str(),
                found ? PeakText(state->scales, *found).c_str() : "Szczyt: brak");
  }
  if (csvOut) {
    WriteBins(state->spectrum, state->spectrum.samplesPeriodMs, format, *csvOut);
    csvOut->Commit();
  }
  if (pngOut) {
    const auto gui = StartGui();
    WritePng(SpectrumPicture(state->spectrum), *pngOut);
    pngOut->Commit();
  }
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "spectrum",
    40,
    "widmo amplitudowe (CSV) i obraz okna widma (PNG)",
    "Użycie: wykresownik-cli spectrum PLIK [--csv WYJŚCIE] [--png WYJŚCIE] [--peak]\n"
    "                                 [--from N] [--to N] [--zoom 1|10|100]\n"
    "                                 [--separator ZNAK] [--decimal ZNAK]\n"
    "                                 [--settings PLIK.INI] [--force]\n"
    "\n"
    "Liczy widmo próbek nagrania od pierwszej (najwyżej 1 048 576), jak okno \"FFT\".\n"
    "--from N        pierwsza próbka (domyślnie 0)\n"
    "--to N          próbka za ostatnią (domyślnie liczba próbek); liczone jest najwyżej\n"
    "                1 048 576 próbek od --from\n"
    "--peak          wypisz analizowane próbki i najwyższy prążek widocznego zakresu (bez\n"
    "                prążka 0): częstotliwość między prążkami i amplitudę sinusa w\n"
    "                jednostce nagrania\n"
    "--csv WYJŚCIE   prążki 0 … N/2 widocznego zakresu: numer, częstotliwość w Hz i\n"
    "                amplituda z silnika FFT (moduł podzielony przez liczbę próbek)\n"
    "--png WYJŚCIE   obraz wykresu widma z osiami (580 × 295)\n"
    "--zoom Z        rozciągnięcie osi częstotliwości jak przyciski \"1:1\", \"10x\", \"100x\"\n"
    "--separator Z, --decimal Z   jak w poleceniu export\n"
    "--settings F    kolory z pliku ustawień programu\n"
    "--force         nadpisz istniejące pliki wyjściowe\n"
    "WYJŚCIE \"-\" to wyjście standardowe.\n",
    {{"csv"},
     {"png"},
     {"peak", false},
     {"from"},
     {"to"},
     {"zoom"},
     {"separator"},
     {"decimal"},
     {"settings"},
     {"force", false}},
    RunSpectrum,
});

}  // namespace
}  // namespace wyk::cli
