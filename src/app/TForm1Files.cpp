// The main window's file panel: "Nowy", "Otworz" and the browse button of the name box.
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include "app/Guard.h"
#include "app/RecorderFiles.h"
#include "app/TForm1.h"
#include "common/Errors.h"
#include "storage/RecordingNames.h"
#include "storage/Recordings.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

// Qt wants "Description (*.ext)" where the file panel keeps "Description|*.ext".
QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + " (" + parts[i + 1] + ")";
  return filters.join(";;");
}

// The cursor read-outs and the clocks as the window starts with them: another recording's
// figures would read as this one's.
void ResetReadouts(TForm1& f) {
  for (QLabel* time : {f.Label8, f.Label15, f.Label17, f.tREL, f.tABS})
    time->setText("00:00:00:000");
  for (QLabel* value : {f.Label11, f.Label16, f.Label19}) value->setText("0V");
}

}  // namespace

QString TForm1::InitialRecordingName() {
#ifdef Q_OS_WIN
  return "C:\\Rejestracja1.osr";
#else
  return QDir::homePath() + "/Rejestracja1.osr";
#endif
}

void TForm1::ShowMessage(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
  box.exec();
}

void TForm1::SetViewButtonsEnabled(bool enabled) {
  for (QWidget* b :
       {static_cast<QWidget*>(z1), static_cast<QWidget*>(z2), static_cast<QWidget*>(z3),
        static_cast<QWidget*>(z4), static_cast<QWidget*>(z5), static_cast<QWidget*>(FftButton)})
    b->setEnabled(enabled);
}

void TForm1::CloseRecordingView() {
  CloseRecordingAndView(state);
  StartButton->setEnabled(false);
  SetViewButtonsEnabled(false);
  ZoomLabel->setText("1:1");
  if (spectrumWindow) spectrumWindow->hide();  // it showed the recording closed now
  RedrawRecording();
}

void TForm1::RedrawRecording() {
  SyncScrollBar();
  DrawScales(state.scales.timeScaleAbsolute);
  DrawRecordingPlot(state.settings, state.view, state.view.plotBitmap, 25, state.view.gridOffset);
  PresentPlot(state.view, windowCanvas);
  selectionBandShown = false;
  update();
}

void TForm1::NewRecording() {
  HideCursors();
  ResetReadouts(*this);
  // The recording that was open is closed now, whatever the answer below.
  CloseRecordingView();
  const std::string name = RecordingFileName(FileNameEdit->Text().toStdString(), ".osr");
  if (SampleFileExists(name)) {
    QMessageBox box(QMessageBox::NoIcon, "Uwaga!", "Plik istnieje!\nCzy nadpisac?",
                    QMessageBox::Yes | QMessageBox::No, this);
    // Enter keeps the file.
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
  }
  if (!CreateRecording(state.recording, name)) {
    ShowMessage("Uwaga", "Nie mogę utworzyć pliku!");
    return;
  }
  newRecordingName = FileNameEdit->Text();
  StartButton->setEnabled(true);
}

void TForm1::OpenRecording() {
  HideCursors();
  ResetReadouts(*this);
  try {
    const OpenOutcome outcome = OpenRecordingForView(state, FileNameEdit->Text().toStdString());
    if (outcome.result == OpenResult::kNotOpened) {
      ShowMessage("Uwaga", "Nie mogę otworzyć pliku!");
    } else {
      StartButton->setEnabled(false);
      ZoomLabel->setText("1:1");
      if (outcome.result == OpenResult::kNoSamples) {
        SetViewButtonsEnabled(false);
        ShowMessage("Uwaga", "Nie mogę otworzyć pliku!!!");
      } else {
        DrawScales(state.scales.timeScaleAbsolute);
        SetViewButtonsEnabled(true);
        // The recording just made has the summary its samples grew while they were written.
        if (!state.recording.summary.Ready()) summaryWatcher->Start();
        if (outcome.fileSize > state.recording.sampleCount)
          ShowMessage("Uwaga", QString("Plik ma %1 bajtów; pokazano pierwsze %2 próbek.")
                                   .arg(outcome.fileSize)
                                   .arg(state.recording.sampleCount));
      }
    }
  } catch (const AppError&) {
    ShowMessage("Uwaga", "Nie mogę otworzyć pliku!!!");
  }
  if (state.recording.dataFileOpen)
    RedrawRecording();
  else
    CloseRecordingView();
}

void TForm1::OpenRecordingAtStart(const QString& name) {
  FileNameEdit->SetText(name);
  QTimer::singleShot(0, this, Guard(this, &TForm1::OpenRecording));
}

void TForm1::BrowseRecording() {
  setEnabled(false);
  QFileDialog dialog(this, QString(), QFileInfo(FileNameEdit->Text()).path(),
                     QtFilter(FileNameEdit->filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(FileNameEdit->defaultExtension.mid(1));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    FileNameEdit->SetText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
  QTimer::singleShot(200, this, Guard([this] { setEnabled(true); }));
}

void TForm1::SyncScrollBar() {
  const ScrollBarState& bar = state.view.scrollBar;
  ScrollBar1->setMaximum(bar.maximum);
  ScrollBar1->setValue(bar.position);
  ScrollBar1->setSingleStep(bar.smallChange);
  ScrollBar1->setPageStep(bar.largeChange);
  ScrollBar1->setThumbLength(bar.thumbLength);
}

}  // namespace wyk
