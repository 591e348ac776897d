#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cmath>
#include <string>

#include "gui/StartedProgram.h"
#include "spectrum/SpectrumView.h"
#include "support/Artifacts.h"
#include "support/MessageBoxes.h"

namespace wyk {
namespace {

using testing::StartedProgram;

// A recording with two tones over noise, open as "Otworz" leaves it.
void OpenRecording(StartedProgram& program, int count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  unsigned noise = 1;
  for (int i = 0; i < count; ++i) {
    noise = noise * 1103515245u + 12345u;
    const double v = 128 + 80 * std::sin(2 * M_PI * i / 20.0) + 30 * std::sin(2 * M_PI * i / 6.0) +
                     static_cast<int>(noise >> 28) - 8;
    bytes[static_cast<size_t>(i)] = static_cast<char>(std::lround(v));
  }
  const std::string path = program.dir.File("nagranie.osr");
  testing::WriteFile(path, bytes);
  RecorderState& s = *program.state;
  s.recording.dataFile = SampleFile::Open(path);
  s.recording.dataFileOpen = true;
  s.recording.sampleCount = count;
}

QColor At(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

TEST(SpectrumWindow, LayoutAndFixedSize) {
  StartedProgram program;
  TForm3& f = *program.windows.form3;
  EXPECT_EQ(f.windowTitle(), "FFT");
  EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(f.minimumSize(), QSize(602, 316));
  EXPECT_EQ(f.maximumSize(), QSize(602, 316));
  EXPECT_EQ(f.Label1->text(), "Analiza częstotliwości");
  struct Case {
    QWidget* widget;
    QRect geometry;
    const char* text;
  };
  const Case cases[] = {
      {f.Label1, {248, 8, 101, 13}, ""},        {f.Bevel1, {39, 29, 514, 252}, ""},
      {f.Panel1, {560, 29, 41, 81}, ""},        {f.SpeedButton1, {4, 4, 32, 22}, "1:1"},
      {f.SpeedButton2, {4, 28, 32, 22}, "10x"}, {f.SpeedButton3, {4, 52, 32, 22}, "100x"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.widget->geometry(), c.geometry);
    if (auto* b = qobject_cast<QToolButton*>(c.widget)) {
      EXPECT_EQ(b->text(), c.text);
    }
  }
}

TEST(SpectrumWindow, ShowsTheSpectrumOfTheOpenRecording) {
  StartedProgram program;
  TForm1& main = program.Main();
  TForm3& form = *program.windows.form3;
  RecorderState& s = *program.state;
  main.show();
  OpenRecording(program, 1000);
  main.FftButton->setEnabled(true);  // as a successful open leaves it
  QTest::mouseClick(main.FftButton, Qt::LeftButton);
  ASSERT_TRUE(form.isVisible());
  EXPECT_EQ(form.geometry().center(), main.geometry().center());
  EXPECT_TRUE(main.Frame11->isHidden());
  EXPECT_EQ(s.spectrum.fftSampleCount, 1000);
  EXPECT_EQ(s.spectrum.fftSize, 1024);

  // The plot in the window is the bitmap, inside the bevel.
  const QImage shot = form.grab().toImage();
  for (int y = 0; y < kPlotHeight; y += 7)
    for (int x = 0; x < kSpectrumWidth; x += 5)
      ASSERT_EQ(At(shot, 40 + x, 30 + y).rgb() & 0xFFFFFF,
                QColor(RedOf(s.spectrum.spectrumBitmap.Pixel(x, y)),
                       GreenOf(s.spectrum.spectrumBitmap.Pixel(x, y)),
                       BlueOf(s.spectrum.spectrumBitmap.Pixel(x, y)))
                        .rgb() &
                    0xFFFFFF)
          << x << "," << y;
  // The stronger tone, at 1/20 of the rate, tops the plot (250 / max · max may cut to 249).
  EXPECT_TRUE(s.spectrum.spectrumBitmap.Pixel(51, 0) == s.settings.lineColor ||
              s.spectrum.spectrumBitmap.Pixel(51, 1) == s.settings.lineColor);
  shot.save(testing::ArtifactPath("spectrum.png"));

  // Shown again while visible: only raised, the grown file is not read.
  OpenRecording(program, 3000);
  QTest::mouseClick(main.FftButton, Qt::LeftButton);
  EXPECT_EQ(s.spectrum.fftSampleCount, 1000);
  form.hide();
  QTest::mouseClick(main.FftButton, Qt::LeftButton);
  EXPECT_EQ(s.spectrum.fftSampleCount, 3000);
  EXPECT_EQ(s.spectrum.fftSize, 4096);
  EXPECT_EQ(main.Frame11->ProgressBar1->value(), 10);  // the last stage, of length 4096

  QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
  EXPECT_EQ(s.spectrum.fftSize, 409);
  EXPECT_EQ(s.spectrum.fftSamplePeriodMs, 5.0f);
  QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
  EXPECT_EQ(s.spectrum.fftSize, 40);
  QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
  EXPECT_EQ(s.spectrum.fftSize, 4096);
  EXPECT_EQ(s.spectrum.fftSamplePeriodMs, 0.5f);
}

TEST(SpectrumWindow, AnEmptyRecordingIsRefused) {
  StartedProgram program;
  program.Main().show();
  OpenRecording(program, 0);
  auto seen = testing::AnswerNextMessageBox();
  program.windows.form3->show();
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->caption, "Uwaga");
  EXPECT_EQ(seen->text, "Brak próbek do analizy!");
  EXPECT_TRUE(program.Main().Frame11->isHidden());
  EXPECT_EQ(program.state->spectrum.spectrumMax, 0.0f);
  EXPECT_EQ(program.state->spectrum.fftSampleCount, kMaxFftSize);
}

}  // namespace
}  // namespace wyk
