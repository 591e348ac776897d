// The main window's plot menu: the picture of the view, and the samples of the recording, the
// view or A–B as CSV, WAV or a sigrok session, written by the writers wykresownik-cli uses.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>

#include "app/Guard.h"
#include "app/OutputFiles.h"
#include "app/TForm1.h"
#include "export/Pictures.h"
#include "export/Png.h"
#include "export/SampleExport.h"
#include "export/SigrokSession.h"
#include "storage/RecordingNames.h"
#include "storage/Recordings.h"
#include "view/Cursors.h"
#include "view/PlotRenderer.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

constexpr Stretch kStretches[] = {Stretch::kWhole, Stretch::kView, Stretch::kCursors};
const char* const kStretchCaptions[] = {"Całe nagranie", "Widok", "A–B"};

// Per format: the dialog's caption, the extension and the filter.
struct FormatTexts {
  const char* caption;
  const char* extension;
  const char* filter;
};
constexpr FormatTexts kFormatTexts[] = {
    {"Eksportuj CSV", ".csv", "Tekst CSV (*.csv)"},
    {"Eksportuj WAV", ".wav", "Dźwięk WAV (*.wav)"},
    {"Eksportuj SR", ".sr", "Sesja sigrok (*.sr)"},
};

}  // namespace

void TForm1::BuildPlotMenu() {
  PlotMenu = new QMenu(this);
  SavePictureAction =
      PlotMenu->addAction("Zapisz obraz…", this, Guard(this, &TForm1::SavePlotPicture));
  CopyPictureAction =
      PlotMenu->addAction("Kopiuj obraz", this, Guard(this, &TForm1::CopyPlotPicture));
  PlotMenu->addSeparator();
  CsvMenu = PlotMenu->addMenu("Eksportuj CSV…");
  WavMenu = PlotMenu->addMenu("Eksportuj WAV…");
  SrMenu = PlotMenu->addMenu("Eksportuj SR…");
  const std::pair<QMenu*, SampleFormat> menus[] = {{CsvMenu, SampleFormat::kCsv},
                                                   {WavMenu, SampleFormat::kWav},
                                                   {SrMenu, SampleFormat::kSigrok}};
  for (size_t i = 0; i < std::size(kStretches); ++i)
    for (const auto& [menu, format] : menus)
      menu->addAction(kStretchCaptions[i], this,
                      Guard([this, i, format] { ExportSamples(kStretches[i], format); }));
  BuildMeasureMenu();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  const bool overPlot = QRect(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight).contains(event->pos());
  if (event->reason() == QContextMenuEvent::Mouse && !overPlot) return;
  RunGuarded([this, event] { ShowPlotMenu(event->globalPos()); });
}

void TForm1::ShowPlotMenu(const QPoint& globalPosition) {
  // A recording opened and not being recorded into; "Nowy" and "Start" close the one opened.
  const bool open = state.recording.dataFileOpen && !state.live.recordingActive &&
                    !state.recording.recordingName.empty();
  for (QAction* action : PlotMenu->actions()) action->setEnabled(open);
  for (QMenu* menu : {CsvMenu, WavMenu, SrMenu}) {
    menu->setEnabled(open);
    menu->actions().back()->setEnabled(open && state.cursors.cursorsVisible);  // A–B
  }
  PlotMenu->popup(globalPosition);
}

void TForm1::SavePlotPicture() {
  const QImage picture = ViewPicture(state.settings, state.scales, state.recording, state.view,
                                     state.scales.timeScaleAbsolute);
  const std::string path =
      AskOutputPath(this, "Zapisz obraz", RecordingFileName(state.recording.recordingName, ".png"),
                    "Obraz PNG (*.png)", state.recording.recordingName);
  if (path.empty()) return;
  WriteOutput(this, path, state.recording.recordingName,
              [&picture](OutputFile& out) { WritePng(picture, out); });
}

void TForm1::CopyPlotPicture() {
  QGuiApplication::clipboard()->setImage(ViewPicture(state.settings, state.scales, state.recording,
                                                     state.view, state.scales.timeScaleAbsolute));
}

void TForm1::ExportSamples(Stretch stretch, SampleFormat format) {
  // The files as the command line opens them: the parameters as stored, not as selected since.
  const StoredRecording recording = OpenStoredRecording(state.recording.recordingName);
  if (recording.result != OpenResult::kOpened) {
    ShowMessage("Uwaga", "Nie mogę otworzyć pliku!");
    return;
  }
  // The stretch as the window shows it: a file cut short since cannot give all of it.
  const SampleSpan range = StretchRange(stretch, ViewSpan(state.view), CursorSpan(state.cursors),
                                        state.recording.sampleCount);
  if (recording.sampleCount < range.end) {
    ShowMessage("Uwaga", "Nie mogę otworzyć pliku!");
    return;
  }
  const FormatTexts& texts = kFormatTexts[static_cast<int>(format)];
  const std::string path = AskOutputPath(
      this, texts.caption, RecordingFileName(state.recording.recordingName, texts.extension),
      texts.filter, state.recording.recordingName);
  if (path.empty()) return;
  WriteOutput(this, path, state.recording.recordingName, [&](OutputFile& out) {
    // Gone before a failure is shown, so that its message box takes clicks again.
    ExportProgressFrame frame(*Frame11);
    const auto progress = [&frame](int64_t done, int64_t total) { frame.Report(done, total); };
    const SampleRange samples{range.first, range.end};
    if (format == SampleFormat::kWav)
      ExportWav(recording, samples, out, progress);
    else if (format == SampleFormat::kSigrok)
      ExportSigrok(recording, samples, out, progress);
    else
      ExportCsv(recording, samples, CsvFormat{}, out, progress);
  });
}

}  // namespace wyk
