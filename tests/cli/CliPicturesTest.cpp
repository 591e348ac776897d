#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/RecorderFiles.h"
#include "cli/CliRun.h"
#include "config/Settings.h"
#include "gui/StartedProgram.h"
#include "spectrum/SpectrumView.h"
#include "storage/RecordingParameters.h"
#include "storage/Recordings.h"
#include "support/Artifacts.h"
#include "support/MessageBoxes.h"
#include "view/PlotRenderer.h"
#include "view/QtTextDrawer.h"
#include "view/RecordingView.h"
#include "view/ScaleRenderer.h"

namespace wyk {
namespace {

using testing::CsvLines;
using testing::Fields;
using testing::ReadFile;
using testing::RunCli;
using testing::StartedProgram;
using testing::TempDir;
using testing::WriteFile;

constexpr Rect kViewArea{0, 20, 580, 310};
constexpr Rect kSpectrumArea{0, 20, 580, 315};

// A 40-sample-period triangle with a slow drift, started on 6 May 2024 at 14:03:27.
std::string MakeRecording(const TempDir& dir, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i)
    bytes += static_cast<char>(std::abs(i % 40 - 20) * 6 + i / 500 % 100);
  WriteFile(dir.File("rec.osr"), bytes);
  RecordingParameters p;
  p.start = DateTimeFromCivil(2024, 5, 6, 14, 3, 27, 0);
  p.samplePeriodMs = 0.2f;
  p.voltsPerDiv = 0.5f;
  p.voltsUnit = "V";
  WriteRecordingParameters(dir.File("rec.osi"), p);
  return dir.File("rec.osr");
}

// Number of pixels of the PNG that differ from the area of the canvas.
int Differences(const QImage& png, const Canvas& canvas, Rect area) {
  if (png.width() != area.right - area.left || png.height() != area.bottom - area.top) return -1;
  int differing = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const QColor c = png.pixelColor(x - area.left, y - area.top);
      const TColor t = canvas.Pixel(x, y);
      differing += c != QColor(RedOf(t), GreenOf(t), BlueOf(t));
    }
  return differing;
}

Canvas Surface(int width, int height, TColor colour) {
  Canvas c(width, height);
  c.SetBrushColor(colour);
  c.FillRect(0, 0, width, height);
  return c;
}

TEST(CliPictures, RenderIsTheRenderersViewOfTheSameState) {
  TempDir dir;
  const std::string rec = MakeRecording(dir, 20000);
  WriteFile(dir.File("red.INI"), "[COL]\r\nclLinia=255\r\nclSiatka=8421504\r\n[COM]\r\nTyp=1\r\n");
  const struct {
    int64_t step, position;
    bool absolute;
    const char* settings;
    bool envelope = false;
  } cases[] = {
      {1, 0, false, nullptr},    {3, 1001, true, nullptr},    {1, 999999, false, nullptr},
      {50, 0, false, "red.INI"}, {7, 12345, true, "red.INI"}, {300, 500, false, nullptr, true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"render",
                                  rec,
                                  "--png",
                                  dir.File("v.png"),
                                  "--force",
                                  "--step",
                                  std::to_string(c.step),
                                  "--position",
                                  std::to_string(c.position)};
    if (c.absolute) args.push_back("--absolute");
    if (c.settings) args.insert(args.end(), {"--settings", dir.File(c.settings)});
    if (c.envelope) args.push_back("--envelope");
    const auto result = RunCli(args);
    ASSERT_EQ(result.code, 0) << result.err;

    auto state = std::make_unique<RecorderState>();
    LoadSettings(state->settings, c.settings ? dir.File(c.settings) : "");
    InitPlotBitmaps(state->view, state->cursors);
    ASSERT_EQ(OpenRecordingForView(*state, rec).result, OpenResult::kOpened);
    state->view.envelopeShown = c.envelope;
    state->recording.summary.Build(state->recording.dataFile);
    ViewRecordingAt(state->settings, state->scales, state->recording, state->view, c.step,
                    c.position);
    Canvas window = Surface(kWindowWidth, kWindowHeight, kWindowColour);
    PresentPlot(state->view, window);
    QtTextDrawer text;
    DrawScales(state->settings, state->scales, state->recording, state->view, window, text,
               c.absolute, state->view.scrollBar.position);
    const QImage png(QString::fromStdString(dir.File("v.png")));
    EXPECT_EQ(Differences(png, window, kViewArea), 0) << c.step << " " << c.position;
    // Column x shows sample position + step × x, value v at plot row 250 − v.
    const int64_t p = state->view.scrollBar.position;
    const int v = static_cast<uint8_t>(ReadFile(rec)[static_cast<size_t>(p + c.step * 10)]);
    const TColor line = state->settings.lineColor;
    if (c.envelope) continue;  // the envelope's columns are the renderer's own table
    EXPECT_EQ(png.pixelColor(kPlotLeft + 10, kPlotTop + 250 - v - kViewArea.top),
              QColor(RedOf(line), GreenOf(line), BlueOf(line)))
        << c.step << " " << c.position;
  }
}

TEST(CliPictures, RenderEqualsTheMainWindowAfterOpening) {
  StartedProgram program;
  TForm1& f = program.Main();
  f.show();
  for (const int samples : {3000, 300, 1}) {  // each after a longer one
    const std::string rec = MakeRecording(program.dir, samples), png = program.dir.File("v.png");
    f.FileNameEdit->SetText(QString::fromStdString(rec));
    f.OpenRecording();
    const QRect area(kViewArea.left, kViewArea.top, kViewArea.right - kViewArea.left,
                     kViewArea.bottom - kViewArea.top);
    ASSERT_EQ(RunCli({"render", rec, "--png", png, "--force"}).code, 0);
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32),
              f.grab(area).toImage().convertToFormat(QImage::Format_RGB32))
        << samples;
  }
}

TEST(CliPictures, SpectrumBinsAndPictureAreTheEnginesAndTheWindows) {
  TempDir dir;
  const std::string rec = MakeRecording(dir, 3000);
  for (int zoom : {1, 10, 100}) {
    const std::string csv = dir.File("s.csv"), png = dir.File("s.png");
    const auto result = RunCli({"spectrum", rec, "--csv", csv, "--png", png, "--force", "--zoom",
                                std::to_string(zoom), "--decimal", "."});
    ASSERT_EQ(result.code, 0) << result.err;

    auto state = std::make_unique<RecorderState>();
    LoadSettings(state->settings, "");
    state->spectrum.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
    OpenRecordingForView(*state, rec);
    ASSERT_TRUE(RefreshSpectrum(state->settings, state->scales, state->recording, state->spectrum));
    SetFrequencyZoom(state->settings, state->scales, state->spectrum, zoom);
    ASSERT_EQ(state->spectrum.fftFullSize, 4096);

    const auto lines = CsvLines(ReadFile(csv));
    ASSERT_EQ(lines.size(), static_cast<size_t>(state->spectrum.fftSize / 2 + 2)) << zoom;
    EXPECT_EQ(lines[0], "Prazek;Czestotliwosc [Hz];Amplituda");
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
      const auto fields = Fields(lines[k + 1], ';');
      ASSERT_EQ(fields.size(), 3u);
      EXPECT_EQ(fields[0], std::to_string(k));
      EXPECT_DOUBLE_EQ(std::stod(fields[1]), static_cast<double>(k) * 5000 / 4096);
      ASSERT_EQ(std::stof(fields[2]), state->spectrum.spectrumMagnitudes[k])
          << zoom << " bin " << k;
    }
    Canvas window = Surface(kSpectrumFormWidth, kSpectrumFormHeight, kSpectrumFormColour);
    QtTextDrawer text;
    DrawSpectrumAxes(state->spectrum, window, text);
    PresentSpectrum(state->spectrum, window);
    EXPECT_EQ(Differences(QImage(QString::fromStdString(png)), window, kSpectrumArea), 0) << zoom;
  }
}

// Once `ready` holds, as the program waits in a dialog or an export, runs `act`.
void WhenReady(std::function<bool()> ready, std::function<void()> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [=] {
    if (!ready()) return;
    poll->deleteLater();
    poll->stop();
    act();
  });
  poll->start(0);
}

// Types `path` into the save dialog as a person does, then Enter; then runs `then`.
void AnswerSaveDialog(const std::string& path, std::function<void()> then = {}) {
  WhenReady([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
            [=] {
              auto* name = QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit");
              name->setText(QString::fromStdString(path));
              QTest::keyClick(name, Qt::Key_Return);
              if (then) then();
            });
}

TEST(CliPictures, WindowExportsAreTheCommandLines) {
  StartedProgram program;
  TForm1& f = program.Main();
  TForm3& spectrum = *program.windows.form3;
  f.show();
  QContextMenuEvent click(QContextMenuEvent::Mouse, {100, 100}, f.mapToGlobal(QPoint(100, 100)));
  QApplication::sendEvent(&f, &click);
  ASSERT_EQ(QApplication::activePopupWidget(), f.PlotMenu);
  for (QAction* action : f.PlotMenu->actions()) EXPECT_FALSE(action->isEnabled()) << "no recording";

  const std::string rec = MakeRecording(program.dir, 20000);
  f.FileNameEdit->SetText(QString::fromStdString(rec));
  f.OpenRecording();
  QTest::mouseClick(f.z4, Qt::LeftButton);  // two samples a column
  f.ScrollBar1->ScrollTo(1001);
  QTest::mouseClick(f.CursorsButton, Qt::LeftButton);
  f.PickCursor(0);
  f.DragCursor(400, Qt::LeftButton);  // A 400 columns after B
  const int step = program.state->view.zoomStep, p = program.state->view.scrollBar.position;
  QTest::keyClick(&f, Qt::Key_Menu);
  ASSERT_EQ(QApplication::activePopupWidget(), f.PlotMenu);
  EXPECT_TRUE(f.WavMenu->actions()[2]->isEnabled());  // A–B, with the cursors on
  QImage shot = f.grab().toImage();                   // for the README: the menu over the window
  QPainter(&shot).drawPixmap(f.mapFromGlobal(f.PlotMenu->pos()), f.PlotMenu->grab());
  shot.save(testing::ArtifactPath("plot-menu.png"));
  QTest::mouseClick(f.FftButton, Qt::LeftButton);
  const auto n = [](int64_t v) { return std::to_string(v); };
  // The spectrum window and the command line name the same samples and read the same peak.
  for (auto [choice, to] : {std::pair{spectrum.StretchButton2, p + 500 * step},
                            std::pair{spectrum.StretchButton3, p + 400 * step + 1}}) {
    QTest::mouseClick(choice, Qt::LeftButton);
    EXPECT_TRUE(choice->isChecked());
    EXPECT_EQ(RunCli({"spectrum", rec, "--peak", "--from", n(p), "--to", n(to)}).out,
              (spectrum.Label2->text() + "\n" + spectrum.Label3->text() + "\n").toStdString());
  }
  spectrum.grab().save(testing::ArtifactPath("spectrum-stretch.png"));
  QTest::mouseClick(spectrum.SpeedButton2, Qt::LeftButton);
  EXPECT_TRUE(spectrum.SpeedButton2->isChecked() && !spectrum.SpeedButton1->isChecked());
  // "Pomiary" measures what measure does and copies what it prints.
  TForm4& measures = *program.windows.form4;
  f.MeasureAction->trigger();
  for (auto [choice, to] : {std::pair{measures.stretchButtons.buttons[1], p + 500 * step},
                            std::pair{measures.stretchButtons.buttons[2], p + 400 * step + 1}}) {
    QTest::mouseClick(choice, Qt::LeftButton);
    QTest::mouseClick(measures.CopyButton, Qt::LeftButton);
    EXPECT_EQ(RunCli({"measure", rec, "--from", n(p), "--to", n(to)}).out,
              QApplication::clipboard()->text().toStdString());
  }
  measures.grab().save(testing::ArtifactPath("measurements.png"));

  const std::string view = " --from " + n(p) + " --to " + n(p + 500 * step) + " ";
  const std::string ab = " --from " + n(p) + " --to " + n(p + 400 * step + 1) + " ";
  const QList<QAction*> csv = f.CsvMenu->actions(), wav = f.WavMenu->actions(),
                        sr = f.SrMenu->actions();
  const struct {
    QAction* action;
    std::string command;  // the output's option last
  } rows[] = {
      {csv[0], "export --csv"},
      {csv[1], "export" + view + "--csv"},
      {csv[2], "export" + ab + "--csv"},
      {wav[0], "export --wav"},
      {wav[1], "export" + view + "--wav"},
      {wav[2], "export" + ab + "--wav"},
      {sr[0], "export --sr"},
      {sr[2], "export" + ab + "--sr"},
      {spectrum.SavePictureAction, "spectrum --zoom 10" + ab + "--png"},
      {spectrum.ExportBinsAction, "spectrum --zoom 10" + ab + "--csv"},
      {f.SavePictureAction, "render --step " + n(step) + " --position " + n(p) + " --png"},
  };
  for (const auto& row : rows) {
    const std::string extension = "." + row.command.substr(row.command.rfind('-') + 1);
    const std::string mine = program.dir.File("okno" + extension);
    const std::string theirs = program.dir.File("cli" + extension);
    AnswerSaveDialog(mine);
    row.action->trigger();
    std::vector<std::string> args{theirs, rec, "--force"};
    for (const QString& a : QString::fromStdString(row.command).split(' '))
      args.insert(args.end() - 3, a.toStdString());
    ASSERT_EQ(RunCli(args).code, 0) << row.command;
    EXPECT_TRUE(ReadFile(mine) == ReadFile(theirs)) << row.command;
    std::filesystem::remove(mine);
  }
  f.CopyPictureAction->trigger();
  EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
            QImage(QString::fromStdString(program.dir.File("cli.png")))
                .convertToFormat(QImage::Format_RGB32));

  // An existing file: Enter gives the question's default, "Nie", and the file stays.
  const std::string taken = program.dir.File("cli.csv"), before = ReadFile(taken);
  AnswerSaveDialog(taken, [] {
    WhenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
              [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
  });
  csv[0]->trigger();
  EXPECT_TRUE(ReadFile(taken) == before);
  // "Tak" replaces it and keeps its mode.
  std::filesystem::permissions(taken, std::filesystem::perms(0600));
  AnswerSaveDialog(taken, [] { testing::AnswerNextMessageBox(QMessageBox::Yes); });
  csv[0]->trigger();
  ASSERT_EQ(RunCli({"export", rec, "--csv", program.dir.File("whole.csv")}).code, 0);
  EXPECT_TRUE(ReadFile(taken) == ReadFile(program.dir.File("whole.csv")));
  EXPECT_EQ(std::filesystem::status(taken).permissions(), std::filesystem::perms(0600));

  // "Przerwij" during a long export leaves no file.
  MakeRecording(program.dir, 4000000);
  f.OpenRecording();
  AnswerSaveDialog(program.dir.File("przerwany.csv"), [&f] {
    WhenReady([&f] { return f.Frame11->CancelButton->isVisible(); },
              [&f] { QTest::mouseClick(f.Frame11->CancelButton, Qt::LeftButton); });
  });
  csv[0]->trigger();
  EXPECT_FALSE(std::filesystem::exists(program.dir.File("przerwany.csv")));
  EXPECT_TRUE(f.Frame11->isHidden());
  // Closing the window meanwhile asks: "Nie" exports on to the end, "Tak" stops and closes.
  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    std::shared_ptr<testing::SeenMessageBox> asked;
    AnswerSaveDialog(program.dir.File("z.csv"), [&] {
      WhenReady([&f] { return f.Frame11->CancelButton->isVisible(); },
                [&] { asked = testing::AnswerNextMessageBox(answer), f.close(); });
    });
    csv[0]->trigger();
    QTest::qWait(50);
    EXPECT_EQ(asked->text, "Trwa eksport.\nCzy go przerwać?");
    const bool kept = std::filesystem::remove(program.dir.File("z.csv")),
               no = answer == QMessageBox::No;
    EXPECT_EQ(std::pair(kept, f.isVisible()), std::pair(no, no));
  }
  f.show();
  f.ShowPlotMenu(f.mapToGlobal(QPoint(100, 100)));  // A–B is not offered without the cursors
  EXPECT_FALSE(csv[2]->isEnabled() || wav[2]->isEnabled());
  f.PlotMenu->hide();
  // Opening took the cursors off: A–B is not offered, and the next showing takes the start.
  EXPECT_FALSE(spectrum.StretchButton3->isEnabled());
  f.ShowPlotMenu(f.mapToGlobal(QPoint(100, 100)));
  EXPECT_FALSE(csv[2]->isEnabled() || wav[2]->isEnabled());
  f.PlotMenu->hide();
  spectrum.hide();
  QTest::mouseClick(f.FftButton, Qt::LeftButton);
  EXPECT_TRUE(spectrum.StretchButton1->isChecked() && spectrum.SpeedButton1->isChecked());
  EXPECT_EQ(spectrum.Label2->text(), "próbki 0 … 1 048 575");

  // "Obwiednia" is remembered, and draws once the summary is built.
  QTest::mouseClick(f.z1, Qt::LeftButton);
  const QImage sampled = f.grab().toImage();
  f.EnvelopeAction->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return program.state->recording.summary.Ready(); }));
  QTest::qWait(50);
  EXPECT_NE(f.grab().toImage(), sampled);
  f.grab().save(testing::ArtifactPath("envelope.png"));
  EXPECT_NE(ReadFile(f.settingsPath).find("[WIDOK]\r\nObwiednia=1"), std::string::npos);
  // A file cut short since it was opened gives no part of what the view announced.
  std::filesystem::resize_file(rec, 1000);
  QTest::keyClick(&f, Qt::Key_End);
  for (QAction* action : {csv[0], csv[1], wav[1]}) {
    auto refusal = testing::AnswerNextMessageBox();
    action->trigger();
    EXPECT_EQ(refusal->text, "Nie mogę otworzyć pliku!") << action->text().toStdString();
  }
}

}  // namespace
}  // namespace wyk
