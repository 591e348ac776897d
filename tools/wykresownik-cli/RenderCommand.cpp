// render: the main window's plot with its scales, as a PNG.

#include <memory>

#include "Command.h"
#include "DrawingSetup.h"
#include "Files.h"
#include "app/RecorderFiles.h"
#include "app/RecorderState.h"
#include "export/Pictures.h"
#include "export/Png.h"
#include "view/PlotRenderer.h"
#include "view/RecordingView.h"

namespace wyk::cli {
namespace {

int RunRender(const Arguments& arguments) {
  if (!arguments.Has("png")) throw CliError(kBadUsage, "brak --png PLIK");
  const int64_t step = arguments.Integer("step", 1, 1, INT32_MAX);
  const int64_t position = arguments.Integer("position", 0, 0, INT32_MAX);
  const bool absolute = arguments.Has("absolute");
  const std::string& name = arguments.positional[0];

  auto state = std::make_unique<RecorderState>();
  LoadViewSettings(state->settings, arguments);
  InitPlotBitmaps(state->view, state->cursors);
  CheckOpened(OpenRecordingForView(*state, name), name);
  const auto out = OpenOutput(arguments, "png", name);

  const auto gui = StartGui();
  state->scales.timeScaleAbsolute = absolute;
  if (arguments.Has("envelope")) {
    state->recording.summary.Build(state->recording.dataFile);
    state->view.envelopeShown = true;
  }
  ViewRecordingAt(state->settings, state->scales, state->recording, state->view, step, position);
  WritePng(ViewPicture(state->settings, state->scales, state->recording, state->view, absolute),
           *out);
  out->Commit();
  return kSuccess;
}

[[maybe_unused]] const bool registered = RegisterCommand({
    "render",
    30,
    "obraz wykresu ze skalami (PNG), jak w oknie programu",
    "Użycie: wykresownik-cli render PLIK --png WYJŚCIE [--step S] [--position P]\n"
    "                               [--absolute] [--envelope] [--settings PLIK.INI] [--force]\n"
    "\n"
    "Rysuje wykres nagrania z osią napięć i osią czasu tak, jak pokazuje je okno programu\n"
    "(obszar 580 × 290 od etykiet osi napięć do etykiet czasu pod wykresem).\n"
    "--png WYJŚCIE   plik PNG\n"
    "--step S        próbek nagrania na kolumnę wykresu (domyślnie 1, czyli 1:1)\n"
    "--position P    próbka w pierwszej kolumnie (domyślnie 0); jak suwak, najwyżej\n"
    "                liczba próbek − 500 × S\n"
    "--absolute      czas zegarowy od początku nagrania zamiast czasu względnego\n"
    "--envelope      obwiednia: w każdej kolumnie kreska od najmniejszej do największej\n"
    "                próbki, którą kolumna obejmuje (jak \"Obwiednia\" w menu wykresu)\n"
    "--settings F    kolory i typ przystawki z pliku ustawień programu (domyślnie wartości\n"
    "                programu bez pliku ustawień)\n"
    "--force         nadpisz istniejący plik wyjściowy\n"
    "WYJŚCIE \"-\" to wyjście standardowe.\n",
    {{"png"},
     {"step"},
     {"position"},
     {"absolute", false},
     {"envelope", false},
     {"settings"},
     {"force", false}},
    RunRender,
});

}  // namespace
}  // namespace wyk::cli
