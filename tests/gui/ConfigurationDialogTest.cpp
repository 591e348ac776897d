#include <gtest/gtest.h>
#include <unistd.h>

#include <QColorDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "gui/StartedProgram.h"
#include "support/Artifacts.h"
#include "support/MessageBoxes.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::ReadFile;
using testing::StartedProgram;

// The dialog as "Konfiguracja" shows it.
TForm2& ShowDialog(StartedProgram& program) {
  program.Main().show();
  QTest::mouseClick(program.Main().ConfigButton, Qt::LeftButton);
  return *program.windows.form2;
}

std::string SettingsFile(StartedProgram& program) {
  return ReadFile(program.dir.File("wykresownik.INI"));
}

// Presses the swatch (Space for Qt::NoButton) and answers the colour picker with `colour`, or
// cancels it when invalid.
void PressSwatch(ColourSwatch* swatch, const QColor& colour, Qt::MouseButton button) {
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!picker) return;
    poll.stop();
    picker->setCurrentColor(colour.isValid() ? colour : QColor(Qt::yellow));
    colour.isValid() ? picker->accept() : picker->reject();
  });
  poll.start(5);
  if (button == Qt::NoButton)
    QTest::keyClick(swatch, Qt::Key_Space);
  else
    QTest::mousePress(swatch, button);
  EXPECT_FALSE(poll.isActive()) << "no colour picker";
}

// Presses OK; the text of the message box it showed, empty when none.
QString PressOk(TForm2& d) {
  auto seen = testing::AnswerNextMessageBox();
  QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
  seen->StopWaiting();
  return seen->text;
}

void TypeInto(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
  if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
}

bool Type1LimitsOn(TForm1& f) {
  return !f.SpeedButton(1)->isEnabled() && !f.SpeedButton(13)->isEnabled() && !f.vd(1)->isEnabled();
}

TEST(ConfigurationDialog, LayoutTextsAndPortHints) {
  StartedProgram program("[COM]\nPort=2\nCOM3=/dev/ttyUSB0\n");
  TForm2& d = ShowDialog(program);
  EXPECT_EQ(d.windowTitle(), "Konfiguracja");
  EXPECT_EQ(QRect(d.pos(), d.size()), QRect(359, 237, 294, 191));  // frame position, client size
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  const std::tuple<QWidget*, QRect, QString> controls[] = {
      {d.RadioGroup1, {0, 0, 129, 105}, d.RadioGroup1->title()},
      {d.GroupBox2, {136, 0, 89, 105}, d.GroupBox2->title()},
      {d.Label1, {8, 24, 56, 16}, d.Label1->text()},
      {d.Label2, {8, 48, 56, 16}, d.Label2->text()},
      {d.Label3, {8, 72, 56, 16}, d.Label3->text()},
      {d.Shape3, {64, 72, 16, 16}, ""},
      {d.Bevel1, {232, 7, 57, 97}, ""},
      {d.GroupBox1, {0, 112, 289, 49}, d.GroupBox1->title()},
      {d.ComboBox1, {8, 16, 113, 21}, d.ComboBox1->itemText(0)},
      {d.Label4, {152, 12, 74, 26}, d.Label4->text()},
      {d.CSpinEdit1, {232, 16, 41, 22}, ""},
      {d.Image1, {23, 170, 75, 19}, ""},
      {d.SpeedButton2, {135, 168, 74, 22}, d.SpeedButton2->text()},
      {d.SpeedButton3, {216, 168, 74, 22}, d.SpeedButton3->text()},
  };
  const char* texts[] = {"Port Com",
                         "Wygląd",
                         "Kolor tła:",
                         "Kolor siatki:",
                         "Kolor lini:",
                         "",
                         "",
                         "Typ przystawki",
                         "TEV2R (DSC89C420)",
                         "Składowa stała:\n(TEV2R)",
                         "",
                         "",
                         "OK",
                         "Anuluj"};
  for (size_t i = 0; i < std::size(controls); ++i) {
    EXPECT_EQ(std::get<0>(controls[i])->geometry(), std::get<1>(controls[i])) << texts[i];
    EXPECT_EQ(std::get<2>(controls[i]), QString::fromUtf8(texts[i]));
  }
  EXPECT_EQ(d.ComboBox1->itemText(1), "TEW2R");
  EXPECT_EQ(d.ComboBox1->itemText(2), "TEV2R (ATMEGA8)");
  // "Com1" … "Com4" in the left column, each with the device it opens as its hint.
  for (int i = 0; i < 8; ++i) {
    QRadioButton* item = d.RadioGroup1->Item(i);
    EXPECT_EQ(item->text(), "Com" + QString::number(i + 1));
    EXPECT_EQ(item->toolTip(), i == 2 ? "/dev/ttyUSB0" : "/dev/ttyS" + QString::number(i));
    EXPECT_EQ(item->x() < 64, i < 4) << i;
  }
  const QImage shot = d.grab().toImage();
  EXPECT_EQ(shot.pixelColor(290, 150), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_TRUE(shot.save(testing::ArtifactPath("configuration.png")));
}

TEST(ConfigurationDialog, ShowsTheSettingsAndOkStoresThePortAsShown) {
  struct Case {
    const char* settings;
    int portItem;
    int adapterEntry;
    int offset;
    const char* portLine;           // after OK
    const char* refusal = nullptr;  // OK refused with this message
  };
  const Case cases[] = {
      {nullptr, 0, 2, 120, "Port=1"},
      {"[COM]\nPort=0\nTyp=0\nSkladowaStala=7\n", -1, 0, 7, "Port=0", "Wybierz port: Com1 … Com8!"},
      {"[COM]\nPort=9\nTyp=7\n", 7, -1, 120, "Port=9",
       "Wybierz typ przystawki z listy: TEV2R (DSC89C420), TEW2R lub TEV2R (ATMEGA8)!"},
  };
  for (const Case& c : cases) {
    StartedProgram program(c.settings);
    TForm2& d = ShowDialog(program);
    EXPECT_EQ(d.RadioGroup1->ItemIndex(), c.portItem) << c.portLine;
    EXPECT_EQ(d.ComboBox1->currentIndex(), c.adapterEntry) << c.portLine;
    EXPECT_EQ(d.CSpinEdit1->value(), c.offset) << c.portLine;
    EXPECT_EQ(d.Shape2->Colour(), QColor(0, 0x80, 0));
    EXPECT_EQ(PressOk(d), c.refusal);
    EXPECT_EQ(d.isHidden(), !c.refusal);
    EXPECT_NE(SettingsFile(program).find(c.portLine), std::string::npos) << c.portLine;
  }
}

TEST(ConfigurationDialog, OkSetsCaptionFileAndTypeOneLimits) {
  struct Step {
    int entry;  // −1: text typed into the box instead
    const char* caption;
    const char* typLine;
    bool limits;
  };
  const Step steps[] = {
      {1, "KWARN Wykresownik TEW2R", "Typ=1\r\n", true},
      {0, "KWARN Wykresownik TEV2R (DSC89C420)", "Typ=0\r\n", false},
      {1, "KWARN Wykresownik TEW2R", "Typ=1\r\n", true},
      {-1, "KWARN Wykresownik TEW2R", "Typ=1\r\n", true},  // typed text is refused
  };
  StartedProgram program;
  TForm1& f = program.Main();
  for (const Step& s : steps) {
    TForm2& d = ShowDialog(program);
    if (s.entry >= 0)
      d.ComboBox1->setCurrentIndex(s.entry);
    else
      TypeInto(d.ComboBox1->lineEdit(), "XYZ");
    EXPECT_EQ(PressOk(d).isEmpty(), s.entry >= 0);
    EXPECT_EQ(f.windowTitle(), s.caption);
    EXPECT_NE(SettingsFile(program).find(s.typLine), std::string::npos) << s.typLine;
    EXPECT_EQ(Type1LimitsOn(f), s.limits) << s.caption;
    EXPECT_EQ(f.Label23->text(), "DC") << s.caption;  // lifting changes only the buttons
  }
  EXPECT_EQ(program.windows.form2->ComboBox1->count(), 3);  // typed text added no entry
}

TEST(ConfigurationDialog, OkRewritesOnlyItsSixEntries) {
  StartedProgram program(
      "; moje\r\n[COL]\r\nclTlo=255\r\nInny=5\r\n[COM]\r\nCOM1=/dev/ttyUSB0\r\nPort=2\r\n"
      "COM2=/dev/pts/7\r\n[Moje]\r\nx=1\r\n");
  TForm2& d = ShowDialog(program);
  d.RadioGroup1->SetItemIndex(3);
  d.ComboBox1->setCurrentIndex(0);
  TypeInto(d.CSpinEdit1->findChild<QLineEdit*>(), "77");
  QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
  EXPECT_EQ(SettingsFile(program),
            "; moje\r\n[COL]\r\nclTlo=255\r\nInny=5\r\nclLinia=65280\r\nclSiatka=32768\r\n"
            "[COM]\r\nCOM1=/dev/ttyUSB0\r\nPort=4\r\nCOM2=/dev/pts/7\r\nTyp=0\r\n"
            "SkladowaStala=77\r\n[Moje]\r\nx=1\r\n");
}

TEST(ConfigurationDialog, AnOffsetOutside0To255IsRefusedAsTyped) {
  const std::tuple<const char*, bool, int> cases[] = {{"999", true, 120},
                                                      {"255", false, 255},
                                                      {"256", true, 120},
                                                      {"-5", true, 120},
                                                      {"", true, 120}};
  for (const auto& [typed, refused, stored] : cases) {
    StartedProgram program;
    TForm2& d = ShowDialog(program);
    TypeInto(d.CSpinEdit1->findChild<QLineEdit*>(), typed);
    EXPECT_EQ(PressOk(d), refused ? "Składowa stała musi być liczbą od 0 do 255!" : "") << typed;
    EXPECT_EQ(std::filesystem::exists(program.dir.File("wykresownik.INI")), !refused) << typed;
    EXPECT_EQ(program.state->settings.dcOffset, stored) << typed;
  }
}

// Tab reaches every control in reading order; Space on a swatch picks, Esc is "Anuluj", Enter OK.
TEST(ConfigurationDialog, KeysReachEveryControl) {
  StartedProgram program;
  TForm2& d = ShowDialog(program);
  QApplication::setActiveWindow(&d);
  // The port group is one stop, at its selected item; arrows move within it.
  const std::vector<QWidget*> order({d.Shape1, d.Shape2, d.Shape3, d.ComboBox1, d.CSpinEdit1,
                                     d.SpeedButton2, d.SpeedButton3, d.RadioGroup1->Item(0)});
  d.RadioGroup1->Item(0)->setFocus(Qt::TabFocusReason);
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
  }
  const QImage unfocused = d.Shape1->grab().toImage();
  d.Shape1->setFocus(Qt::TabFocusReason);
  EXPECT_NE(d.Shape1->grab().toImage(), unfocused);  // the focus shows
  PressSwatch(d.Shape1, QColor(0xFF, 0, 0), Qt::NoButton);
  EXPECT_EQ(program.state->settings.backgroundColor, Rgb(0xFF, 0, 0));
  QApplication::setActiveWindow(&d);
  QTest::keyClick(d.Shape1, Qt::Key_Escape);
  EXPECT_TRUE(d.isHidden());
  EXPECT_EQ(program.state->settings.backgroundColor, kBlack);  // put back
  ShowDialog(program);
  QApplication::setActiveWindow(&d);
  d.RadioGroup1->SetItemIndex(4);
  QTest::keyClick(d.CSpinEdit1, Qt::Key_Return);
  EXPECT_TRUE(d.isHidden());
  EXPECT_NE(SettingsFile(program).find("Port=5"), std::string::npos);
}

TEST(ConfigurationDialog, PickedColoursTakeEffectAndAnulujPutsThemBack) {
  StartedProgram program;
  RecorderState& s = *program.state;
  TForm2& d = ShowDialog(program);
  const QColor red(0xFF, 0, 0), blue(0, 0, 0xFF), white(0xFF, 0xFF, 0xFF);
  PressSwatch(d.Shape1, red, Qt::RightButton);
  PressSwatch(d.Shape2, blue, Qt::LeftButton);
  PressSwatch(d.Shape3, white, Qt::LeftButton);
  PressSwatch(d.Shape3, QColor(), Qt::LeftButton);  // cancelled: stays white
  EXPECT_EQ(s.settings.backgroundColor, Rgb(0xFF, 0, 0));
  EXPECT_EQ(s.settings.gridColor, Rgb(0, 0, 0xFF));
  EXPECT_EQ(s.settings.lineColor, Rgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(d.Shape3->Colour(), white);
  const QImage picked = d.grab().toImage();
  EXPECT_EQ(picked.pixelColor(240, 20), red);
  EXPECT_EQ(picked.pixelColor(240, 33), blue);                      // grid row
  EXPECT_EQ(picked.pixelColor(258, 40), blue);                      // grid column
  EXPECT_EQ(picked.pixelColor(233, 12), blue);                      // outline
  EXPECT_EQ(picked.pixelColor(258, 15), white);                     // trace
  EXPECT_EQ(picked.pixelColor(232, 12), QColor(0x80, 0x80, 0x80));  // Bevel1's shadow

  d.RadioGroup1->SetItemIndex(5);
  d.ComboBox1->setCurrentIndex(1);
  TypeInto(d.CSpinEdit1->findChild<QLineEdit*>(), "77");
  // "Konfiguracja" again only raises the dialog: no new snapshot.
  QTest::mouseClick(program.Main().ConfigButton, Qt::LeftButton);
  QTest::mouseClick(d.SpeedButton3, Qt::LeftButton);
  EXPECT_TRUE(d.isHidden());
  EXPECT_EQ(s.settings.backgroundColor, 0u);
  EXPECT_EQ(s.settings.gridColor, 32768u);
  EXPECT_EQ(s.settings.lineColor, 65280u);
  ShowDialog(program);
  // Every control shows the settings in force.
  EXPECT_EQ(d.Shape1->Colour(), QColor(Qt::black));
  EXPECT_EQ(std::make_tuple(d.RadioGroup1->ItemIndex(), d.ComboBox1->currentIndex(),
                            d.CSpinEdit1->value()),
            std::make_tuple(0, 2, 120));
  const QImage again = d.grab().toImage();
  EXPECT_EQ(again.pixelColor(240, 20), QColor(0, 0, 0));  // the preview shows the variables
  EXPECT_EQ(again.pixelColor(258, 15), QColor(0, 0xFF, 0));

  // The close box only hides: a picked colour stays in effect, nothing is written.
  PressSwatch(d.Shape1, blue, Qt::LeftButton);
  EXPECT_TRUE(d.close());
  EXPECT_TRUE(d.isHidden());
  EXPECT_EQ(s.settings.backgroundColor, Rgb(0, 0, 0xFF));
  EXPECT_FALSE(std::filesystem::exists(program.dir.File("wykresownik.INI")));
  // OK shows the plot in the colours in effect at once.
  ShowDialog(program);
  QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
  EXPECT_EQ(program.Main().grab().toImage().pixelColor(kPlotLeft + 3, kPlotTop + 3), blue);
}

// OK with a settings file that cannot be written: the error is shown and the dialog stays.
void ExpectFailedWriteKeepsTheDialogOpen(bool readOnlyFile) {
  StartedProgram program("[COM]\nTyp=2\n");
  const std::string path = program.dir.File("wykresownik.INI");
  if (readOnlyFile) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  } else {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
  }
  TForm2& d = ShowDialog(program);
  d.RadioGroup1->SetItemIndex(2);
  d.ComboBox1->setCurrentIndex(1);
  auto seen = testing::AnswerNextMessageBox();
  QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
  EXPECT_EQ(seen->text.toStdString(), "Unable to write to " + path);
  EXPECT_TRUE(d.isVisible());
  // Port, type and caption are in effect; the limits are not.
  EXPECT_EQ(program.state->settings.comPortNumber, 3);
  EXPECT_EQ(program.state->settings.adapterType, 1);
  EXPECT_EQ(program.Main().windowTitle(), "KWARN Wykresownik TEW2R");
  EXPECT_FALSE(Type1LimitsOn(program.Main()));
  // Anuluj puts the old type back, and the caption with it.
  QTest::mouseClick(d.SpeedButton3, Qt::LeftButton);
  EXPECT_EQ(program.state->settings.adapterType, 2);
  EXPECT_EQ(program.Main().windowTitle(), "KWARN Wykresownik TEV2R (ATMEGA8)");
}

TEST(ConfigurationDialog, AFolderInTheFilesPlaceLeavesTheDialogOpen) {
  ExpectFailedWriteKeepsTheDialogOpen(false);
}

TEST(ConfigurationDialog, AReadOnlyFileLeavesTheDialogOpen) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files; the folder case runs";
  ExpectFailedWriteKeepsTheDialogOpen(true);
}

// The running recording keeps the period and range it started with; Stop applies the limits.
TEST(ConfigurationDialog, OkDuringARecordingLeavesTheScaleButtonsLocked) {
  StartedProgram program;
  TForm1& f = program.Main();
  program.state->live.recordingActive = true;
  for (int n = 1; n <= 13; ++n) f.SpeedButton(n)->setEnabled(false);
  for (int n = 1; n <= 10; ++n) f.vd(n)->setEnabled(false);
  for (int entry : {0, 1}) {
    TForm2& d = ShowDialog(program);
    d.ComboBox1->setCurrentIndex(entry);
    QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
    for (int n = 1; n <= 13; ++n) EXPECT_FALSE(f.SpeedButton(n)->isEnabled()) << n;
    for (int n = 1; n <= 10; ++n) EXPECT_FALSE(f.vd(n)->isEnabled()) << n;
    EXPECT_EQ(program.state->scales.couplingMode, kCouplingAc);
    EXPECT_EQ(f.Label23->text(), "AC");
  }
}

}  // namespace
}  // namespace wyk
