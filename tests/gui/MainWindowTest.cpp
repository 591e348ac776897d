#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Guard.h"
#include "app/Windows.h"
#include "common/Errors.h"
#include "gui/RecordingRig.h"
#include "support/Artifacts.h"
#include "support/MessageBoxes.h"
#include "support/PatternRecording.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::StartedProgram;

TEST(MainWindow, CaptionNamesTheAdapterType) {
  struct Case {
    const char* settings;
    const char* caption;
  };
  const Case cases[] = {
      {nullptr, "KWARN Wykresownik TEV2R (ATMEGA8)"},
      {"[COM]\nTyp=0\n", "KWARN Wykresownik TEV2R (DSC89C420)"},
      {"[COM]\nTyp=1\n", "KWARN Wykresownik TEW2R"},
      {"[COM]\nTyp=7\n", "KWARN Wykresownik "},
  };
  for (const Case& c : cases) {
    StartedProgram program(c.settings);
    EXPECT_EQ(program.Main().windowTitle().toStdString(), c.caption);
    EXPECT_TRUE(program.windows.form2->isHidden());
    EXPECT_TRUE(program.windows.form3->isHidden());
    EXPECT_EQ(program.windows.form2->windowTitle(), "Konfiguracja");
    EXPECT_EQ(program.windows.form3->windowTitle(), "FFT");
  }
}

TEST(MainWindow, StartsWithDefaultSettingsWhenThereIsNoFile) {
  StartedProgram program;
  const RecorderState& s = *program.state;
  EXPECT_EQ(s.settings.lineColor, 65280u);
  EXPECT_EQ(s.settings.backgroundColor, 0u);
  EXPECT_EQ(s.settings.gridColor, 32768u);
  EXPECT_EQ(s.settings.comPortNumber, 1);
  EXPECT_EQ(s.settings.adapterType, 2);
  EXPECT_EQ(s.settings.dcOffset, 120);
  EXPECT_EQ(s.scales.samplePeriodMs, 0.5f);
  EXPECT_EQ(s.scales.voltsPerDiv, 10.0f);
  EXPECT_EQ(s.view.plotBitmap.Width(), 500);
  EXPECT_EQ(s.view.plotBitmap.Height(), 250);
  EXPECT_EQ(s.cursors.selectionBitmap.Width(), 500);
}

TEST(MainWindow, IsFixedInSizeWithNoMaximiseBox) {
  StartedProgram program;
  TForm1& form = program.Main();
  form.show();
  EXPECT_EQ(form.size(), QSize(792, 372));
  EXPECT_EQ(form.minimumSize(), QSize(792, 372));
  EXPECT_EQ(form.maximumSize(), QSize(792, 372));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  // At (162, 117), moved left as far as the screen (800 wide offscreen) needs.
  const QRect area = form.screen()->availableGeometry();
  const QRect frame = form.frameGeometry();
  EXPECT_EQ(frame.left(), std::min(162, area.right() + 1 - frame.width()));
  EXPECT_TRUE(area.contains(frame));
}

TEST(MainWindow, ControlsStandWhereTheyBelongWithTheirStartState) {
  StartedProgram program;
  TForm1& f = program.Main();
  struct Case {
    const char* name;
    QWidget* widget;
    QRect geometry;
    bool enabled;
    bool visible;
  };
  const Case cases[] = {
      {"ScrollBar1", f.ScrollBar1, {24, 312, 534, 16}, true, true},
      {"Panel1", f.Panel1, {72, 328, 448, 32}, true, true},
      {"Panel2", f.Panel2, {39, 20, 502, 12}, true, true},
      {"Label21", f.Label21, {8, 332, 64, 13}, true, true},
      {"Label22", f.Label22, {8, 344, 64, 13}, true, true},
      {"Label23", f.Label23, {8, 356, 64, 13}, true, true},
      {"z1", f.z1, {2, 1, 26, 30}, false, true},
      {"z2", f.z2, {28, 1, 26, 30}, false, true},
      {"z3", f.z3, {60, 1, 26, 30}, false, true},
      {"z4", f.z4, {86, 1, 26, 30}, false, true},
      {"z5", f.z5, {112, 1, 26, 30}, false, true},
      {"ZoomLabel", f.ZoomLabel, {174, 8, 79, 13}, true, true},
      {"t1", f.t1, {268, 1, 26, 30}, true, true},
      {"t2", f.t2, {294, 1, 26, 30}, true, true},
      {"CursorsButton", f.CursorsButton, {326, 1, 26, 30}, true, true},
      {"SnapAButton", f.SnapAButton, {358, 1, 26, 30}, true, true},
      {"SnapBButton", f.SnapBButton, {384, 1, 26, 30}, true, true},
      {"FftButton", f.FftButton, {418, 1, 28, 30}, false, true},
      {"Frame11", f.Frame11, {152, 136, 302, 41}, true, false},
      {"FilePanel", f.FilePanel, {592, 0, 197, 49}, true, true},
      {"RecordingPanel", f.RecordingPanel, {592, 49, 197, 34}, true, true},
      {"TimePanel", f.TimePanel, {592, 83, 197, 32}, true, true},
      {"VoltsPanel", f.VoltsPanel, {592, 115, 197, 116}, true, true},
      {"SamplingPanel", f.SamplingPanel, {592, 231, 197, 50}, true, true},
      {"CursorPanel", f.CursorPanel, {592, 281, 197, 60}, true, true},
      {"SettingsPanel", f.SettingsPanel, {592, 341, 197, 28}, true, true},
      {"FileNameEdit", f.FileNameEdit, {8, 14, 185, 17}, true, true},
      {"OpenButton", f.OpenButton, {3, 32, 95, 15}, true, true},
      {"NewButton", f.NewButton, {99, 32, 95, 15}, true, true},
      {"StartButton", f.StartButton, {2, 14, 95, 17}, false, true},
      {"StopButton", f.StopButton, {100, 14, 95, 17}, false, true},
      {"tREL", f.tREL, {32, 16, 60, 13}, true, true},
      {"tABS", f.tABS, {100, 16, 60, 13}, true, true},
      {"Image1", f.Image1, {36, 32, 80, 80}, true, true},
      {"Image4", f.Image4, {48, 86, 7, 7}, true, true},
      {"Przelacznik", f.Przelacznik, {153, 34, 16, 64}, true, true},
      {"SpeedButton1", f.SpeedButton(1), {9, 90, 31, 14}, true, true},
      {"SpeedButton7", f.SpeedButton(7), {108, 34, 29, 14}, true, true},
      {"SpeedButton10", f.SpeedButton(10), {111, 90, 31, 14}, true, true},
      {"SpeedButton11", f.SpeedButton(11), {172, 32, 20, 12}, true, true},
      {"SpeedButton13", f.SpeedButton(13), {172, 88, 20, 12}, true, true},
      {"vd1", f.vd(1), {4, 16, 37, 16}, true, true},
      {"vd10", f.vd(10), {153, 32, 37, 15}, true, true},
      {"Label8", f.Label8, {40, 16, 60, 13}, true, true},
      {"Label15", f.Label15, {40, 30, 60, 13}, true, true},
      {"Label17", f.Label17, {40, 44, 60, 13}, true, true},
      {"Label11", f.Label11, {104, 16, 60, 13}, true, true},
      {"Label16", f.Label16, {104, 30, 60, 13}, true, true},
      {"Label19", f.Label19, {104, 44, 60, 13}, true, true},
      {"ConfigButton", f.ConfigButton, {2, 5, 94, 17}, true, true},
      {"ExitButton", f.ExitButton, {100, 5, 94, 17}, true, true},
      {"znAtop", f.znAtop, {-4, 1, 11, 10}, false, false},
      {"znApion", f.znApion, {40, 30, 1, 250}, true, false},
      {"znBpoziom", f.znBpoziom, {40, 280, 500, 1}, true, false},
      {"Przel1", f.Przel1, {97, 42, 16, 64}, false, false},
      {"Przel3", f.Przel3, {129, 42, 16, 64}, false, false},
  };
  f.show();
  for (const Case& c : cases) {
    EXPECT_EQ(c.widget->geometry(), c.geometry) << c.name;
    EXPECT_EQ(c.widget->isEnabled(), c.enabled) << c.name;
    EXPECT_EQ(c.widget->isVisible(), c.visible) << c.name;
  }
  EXPECT_FALSE(f.Timer1->isActive());
  EXPECT_EQ(f.Timer1->interval(), 10);
  EXPECT_EQ(f.ScrollBar1->maximum(), 0);
  EXPECT_EQ(f.ScrollBar1->pageStep(), 25);
  EXPECT_EQ(f.Frame11->ProgressBar1->maximum(), 19);
  EXPECT_EQ(f.FileNameEdit->Text(), QDir::homePath() + "/Rejestracja1.osr");
}

TEST(MainWindow, TextsAndHintsAreThoseOfTheProgram) {
  StartedProgram program;
  TForm1& f = program.Main();
  const std::pair<QToolButton*, const char*> hints[] = {
      {f.z1, "Pokaż całość"},
      {f.z2, "Wyłącz powiększenie"},
      {f.z3, "Powiększ"},
      {f.z4, "Zmniejsz"},
      {f.z5, "Pokaż zaznaczenie"},
      {f.t1, "Skala czasu relaywna"},
      {f.t2, "Skala czasu absolutna"},
      {f.CursorsButton, "Włącz / wyłącz kursory"},
      {f.SnapAButton, "Przyciągnij kursor A"},
      {f.SnapBButton, "Przyciągnij kursor B"},
      {f.FftButton, "Analiza częstotliwości"},
  };
  for (const auto& [button, hint] : hints) {
    // The program's hint; a second line may name keys that do the same.
    EXPECT_EQ(button->toolTip().section('\n', 0, 0), QString::fromUtf8(hint));
    EXPECT_EQ(button->accessibleName(), QString::fromUtf8(hint));
    EXPECT_TRUE(button->text().isEmpty());
    // A greyed-out picture differs from the normal one.
    const QIcon icon = button->icon();
    EXPECT_NE(icon.pixmap(20, QIcon::Normal).toImage(), icon.pixmap(20, QIcon::Disabled).toImage())
        << hint;
  }
  const std::pair<QToolButton*, const char*> captions[] = {
      {f.OpenButton, "Otworz"},         {f.NewButton, "Nowy"},
      {f.StartButton, "Start"},         {f.StopButton, "Stop"},
      {f.ConfigButton, "Konfiguracja"}, {f.ExitButton, "Wyjście"},
  };
  for (const auto& [button, caption] : captions)
    EXPECT_EQ(button->text(), QString::fromUtf8(caption));
  EXPECT_EQ(f.Label20->text(), "Przebieg czasowy");
  EXPECT_EQ(f.Label5->text(), "PLIK");
  EXPECT_EQ(f.ZoomLabel->text(), "1:1");
  EXPECT_EQ(f.Label23->text(), "AC");
  EXPECT_EQ(f.tREL->text(), "00:00:00:000");
  EXPECT_EQ(f.Label19->text(), "0V");
  EXPECT_EQ(f.StartButton->palette().color(QPalette::Active, QPalette::ButtonText),
            QColor(0, 0x80, 0));
  EXPECT_EQ(f.ExitButton->palette().color(QPalette::Active, QPalette::ButtonText),
            QColor(0x80, 0, 0));
  EXPECT_EQ(f.Frame11->Label1->text(), QString::fromUtf8("Proszę czekać"));
}

TEST(MainWindow, ConfigurationAndSpectrumButtonsShowTheirWindows) {
  StartedProgram program;
  TForm1& f = program.Main();
  f.show();
  f.grab();
  // A colour picked in the dialog reaches the plot when "Konfiguracja" is clicked again.
  program.state->settings.backgroundColor = Rgb(0, 0, 0xFF);
  EXPECT_EQ(f.windowCanvas.Pixel(kPlotLeft + 10, kPlotTop + 10), 0u);
  for (int click = 0; click < 2; ++click) {
    QTest::mouseClick(f.ConfigButton, Qt::LeftButton);
    EXPECT_TRUE(program.windows.form2->isVisible());
    EXPECT_EQ(f.windowCanvas.Pixel(kPlotLeft + 10, kPlotTop + 10), Rgb(0, 0, 0xFF));
  }
  EXPECT_FALSE(program.windows.form2->isModal());
  f.FftButton->setEnabled(true);
  QTest::mouseClick(f.FftButton, Qt::LeftButton);
  EXPECT_TRUE(program.windows.form3->isVisible());
  EXPECT_TRUE(f.screen()->availableGeometry().contains(program.windows.form3->frameGeometry()));
  EXPECT_TRUE(f.isVisible());
}

void Activate(QWidget* window) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

TEST(MainWindow, ExitButtonEndsTheEventLoop) {
  StartedProgram program;
  program.Main().show();
  QTimer::singleShot(0, program.Main().ExitButton, &QToolButton::click);
  EXPECT_EQ(QApplication::exec(), 0);
  StartedProgram second;
  second.Main().show();
  QTimer::singleShot(0, [&] {
    Activate(&second.Main());
    QTest::keyClick(&second.Main(), Qt::Key_Q, Qt::ControlModifier);
  });
  QTimer::singleShot(10000, &second.Main(), [] { QApplication::exit(1); });  // not ended
  EXPECT_EQ(QApplication::exec(), 0);                                        // Ctrl+Q
  EXPECT_EQ(second.Main().ExitButton->toolTip(), "Wyjście (Ctrl+Q)");
}

// Each shortcut, pressed in the name box, clicks its button when a click would and its hint
// names it; Tab walks the controls in reading order; Enter and Space click a focused button.
TEST(MainWindow, KeysDoWhatClicksDo) {
  StartedProgram program;
  TForm1& f = program.Main();
  const RecorderState& s = *program.state;
  const QString recording = QString::fromStdString(program.dir.File("r.osr"));
  testing::WritePatternRecording(recording.toStdString(), 30000);
  f.FileNameEdit->SetText(recording);
  f.show();
  const struct {
    QAbstractButton* button;
    QKeyCombination key;
    const char* hint;
    std::function<bool()> done;  // the click's work is seen, when it shows
  } rows[] = {
      {f.StartButton, Qt::Key_F5, "Start (F5)", nullptr},  // off: nothing
      {f.StopButton, Qt::Key_F6, "Stop (F6)", nullptr},
      {f.OpenButton, Qt::CTRL | Qt::Key_O, "Otworz (Ctrl+O)", [&] { return f.z1->isEnabled(); }},
      {f.z1, Qt::CTRL | Qt::Key_0, "Pokaż całość\nKlawisz Ctrl+0",
       [&] { return s.view.zoomStep == 60; }},  // 30,000 samples over 500 columns
      {f.z2, Qt::CTRL | Qt::Key_1, "Wyłącz powiększenie\nKlawisz Ctrl+1",
       [&] { return s.view.zoomStep == 1; }},
      {f.z5, Qt::CTRL | Qt::Key_2, "Pokaż zaznaczenie\nKlawisz Ctrl+2", nullptr},
      {f.t2, Qt::CTRL | Qt::Key_B, "Skala czasu absolutna\nKlawisz Ctrl+B",
       [&] { return s.scales.timeScaleAbsolute; }},
      {f.t1, Qt::CTRL | Qt::Key_R, "Skala czasu relaywna\nKlawisz Ctrl+R",
       [&] { return !s.scales.timeScaleAbsolute; }},
      {f.CursorsButton, Qt::Key_F7, "Włącz / wyłącz kursory\nKlawisz F7",
       [&] { return s.cursors.cursorsVisible; }},
      {f.SnapAButton, Qt::ALT | Qt::Key_A, "Przyciągnij kursor A\nKlawisz Alt+A", nullptr},
      {f.SnapBButton, Qt::ALT | Qt::Key_B, "Przyciągnij kursor B\nKlawisz Alt+B", nullptr},
      {f.NewButton, Qt::CTRL | Qt::Key_N, "Nowy (Ctrl+N)",
       [&] { return f.StartButton->isEnabled(); }},
      {f.ConfigButton, Qt::CTRL | Qt::Key_K, "Konfiguracja (Ctrl+K)",
       [&] { return program.windows.form2->isVisible(); }},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.button->toolTip(), QString::fromUtf8(row.hint));
    if (row.button == f.NewButton) f.FileNameEdit->SetText(recording + "-nowy.osr");
    Activate(&f);
    f.FileNameEdit->Edit()->setFocus();
    QSignalSpy clicks(row.button, &QAbstractButton::clicked);
    const bool enabled = row.button->isEnabled();
    QTest::keyClick(f.FileNameEdit->Edit(), row.key.key(), row.key.keyboardModifiers());
    EXPECT_EQ(clicks.count(), enabled) << row.hint;
    EXPECT_TRUE(!row.done || row.done()) << row.hint;
  }
  program.windows.form2->hide();
  Activate(&f);
  f.FileNameEdit->SetText(recording);
  QTest::keyClick(f.FileNameEdit->Edit(), Qt::Key_Return);  // "Otworz"
  EXPECT_TRUE(f.FftButton->isEnabled());

  std::vector<QWidget*> order{f.FileNameEdit->BrowseButton(), f.OpenButton, f.NewButton, f.t1,
                              f.t2};
  order.insert(order.end(), f.speedButtons.begin(), f.speedButtons.end());
  order.insert(order.end(), f.samplingButtons.begin(), f.samplingButtons.end());
  order.insert(order.end(),
               {f.z1, f.z2, f.z3, f.z4, f.z5, f.ScrollBar1, f.CursorsButton, f.SnapAButton,
                f.SnapBButton, f.FftButton, f.ConfigButton, f.ExitButton, f.FileNameEdit->Edit()});
  f.FileNameEdit->Edit()->setFocus();
  for (QWidget* next : order) {
    if (!next->isEnabled()) continue;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), next) << next->toolTip().toStdString();
  }
  const QImage unfocused = f.t2->grab().toImage();
  f.t2->setFocus(Qt::TabFocusReason);
  EXPECT_NE(f.t2->grab().toImage(), unfocused);  // the focus shows
  QTest::keyClick(f.t2, Qt::Key_Return);
  EXPECT_TRUE(s.scales.timeScaleAbsolute);
  f.t1->setFocus(Qt::TabFocusReason);
  QTest::keyClick(f.t1, Qt::Key_Space);
  EXPECT_FALSE(s.scales.timeScaleAbsolute);

  QTest::keyClick(f.FileNameEdit->Edit(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(program.windows.form3->isVisible());
  Activate(program.windows.form3.get());
  QTest::keyClick(program.windows.form3.get(), Qt::Key_Escape);
  EXPECT_TRUE(program.windows.form3->isHidden());
}

TEST(MainWindow, ClosingTheWindowEndsTheEventLoop) {
  StartedProgram program;
  program.Main().show();
  QTimer::singleShot(0, &program.Main(), &QWidget::close);
  EXPECT_EQ(QApplication::exec(), 0);
}

// An error escaping a handler is shown with its text and the event loop goes on.
TEST(MainWindow, AnErrorInAHandlerIsShownAndTheLoopGoesOn) {
  QObject receiver;
  QObject::connect(&receiver, &QObject::objectNameChanged,
                   [] { throw AppError("Floating point division by zero"); });
  auto seen = testing::AnswerNextMessageBox();
  bool loopWentOn = false;
  QTimer::singleShot(0, [&] { receiver.setObjectName("x"); });
  QTimer afterwards;
  QObject::connect(&afterwards, &QTimer::timeout, [&] {
    if (!seen->shown || QApplication::activeModalWidget()) return;
    loopWentOn = true;
    QApplication::quit();
  });
  afterwards.start(5);
  QTimer::singleShot(5000, [] { QApplication::quit(); });
  QApplication::exec();
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->caption, "Wykresownik");
  EXPECT_EQ(seen->text, "Floating point division by zero");
  EXPECT_TRUE(loopWentOn);
}

// A window whose every paint fails.
struct FailingPaint : QWidget {
  void paintEvent(QPaintEvent*) override {
    PaintGuarded([] { throw AppError(kFloatOverflow); });
  }
};

// Three repaints after each of two user actions: the error is shown once after each.
TEST(MainWindow, AnErrorFromAPaintIsShownOnceUntilTheUserActs) {
  FailingPaint window;
  window.show();
  testing::MessageLog messages(true);  // the click that closes the box is no user action
  for (int i = 0; i < 6; ++i) {
    if (i % 3 == 0) QTest::mouseClick(&window, Qt::LeftButton);
    window.repaint(), QTest::qWait(20);
  }
  EXPECT_EQ(messages.seen, std::vector<std::string>(2, "Wykresownik: Floating point overflow"));
}

TEST(MainWindow, ScreenshotForTheReadme) {
  StartedProgram program;
  TForm1& form = program.Main();
  form.show();
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.size(), QSize(792, 372));
  // Silver background where no control stands.
  EXPECT_EQ(shot.pixelColor(560, 200), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_TRUE(shot.save(testing::ArtifactPath("main-window.png")));
}

}  // namespace
}  // namespace wyk
