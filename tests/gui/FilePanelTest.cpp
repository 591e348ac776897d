#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include "gui/StartedProgram.h"
#include "support/MessageBoxes.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::AnswerNextMessageBox;
using testing::ReadFile;
using testing::StartedProgram;
using testing::WriteFile;

std::vector<QWidget*> ViewButtons(TForm1& f) {
  return {f.z1, f.z2, f.z3, f.z4, f.z5, f.FftButton};
}

QColor PlotPixel(TForm1& f, int column, int row) {
  return f.grab().toImage().pixelColor(kPlotLeft + column, kPlotTop + row);
}

TEST(FilePanel, OpenDrawsTheRecordingAndEnablesTheViewButtons) {
  StartedProgram program;
  TForm1& f = program.Main();
  f.show();
  // 250 samples at 50, then 200; "Prob" 1 ms and 2 V per division.
  WriteFile(program.dir.File("pomiar.osr"), std::string(250, '\x32') + std::string(2000, '\xC8'));
  WriteFile(program.dir.File("pomiar.osi"), "[Parm]\r\nProb=1\r\nVD=2\r\nJednV=V\r\n");
  f.FileNameEdit->SetText(QString::fromStdString(program.dir.File("pomiar.txt")));
  for (QLabel* l : {f.Label8, f.Label19, f.tREL, f.tABS}) l->setText("poprzednie nagranie");
  QTest::mouseClick(f.OpenButton, Qt::LeftButton);

  // The read-outs and clocks start afresh.
  for (QLabel* l : {f.Label8, f.tREL, f.tABS}) EXPECT_EQ(l->text(), "00:00:00:000");
  EXPECT_EQ(f.Label19->text(), "0V");
  EXPECT_EQ(program.state->recording.sampleCount, 2250);
  EXPECT_EQ(f.ZoomLabel->text(), "1:1");
  EXPECT_EQ(f.Label21->text(), "V/dz=2V");
  EXPECT_EQ(f.Label22->text(), "T=1ms");
  for (QWidget* b : ViewButtons(f)) EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_FALSE(f.StartButton->isEnabled());
  EXPECT_EQ(f.ScrollBar1->maximum(), 1750);
  // The trace: value v at row 250 - v, in the line colour.
  const QColor line(0, 255, 0);
  EXPECT_EQ(PlotPixel(f, 10, 200), line);
  EXPECT_EQ(PlotPixel(f, 240, 200), line);
  EXPECT_EQ(PlotPixel(f, 260, 50), line);
  EXPECT_EQ(PlotPixel(f, 498, 50), line);
  EXPECT_NE(PlotPixel(f, 10, 50), line);
}

struct RefusedOpen {
  const char* name;
  const char* content;  // nullptr: no sample file
  const char* message;
  bool deletedAfterOpening = false;  // opened first: its trace at row 150
};

// The recording that is not open is not drawn and cannot be browsed.
TEST(FilePanel, RefusedOpeningsSayWhyAndLeaveTheRecordingClosed) {
  const RefusedOpen cases[] = {
      {"missing", nullptr, "Nie mogę otworzyć pliku!"},
      {"empty", "", "Nie mogę otworzyć pliku!!!"},
      {"deleted since it was opened", "dddd", "Nie mogę otworzyć pliku!", true},
  };
  for (const RefusedOpen& c : cases) {
    StartedProgram program;
    TForm1& f = program.Main();
    const std::string name = program.dir.File(std::string(c.name) + ".osr");
    if (c.content) WriteFile(name, c.content);
    f.FileNameEdit->SetText(QString::fromStdString(name));
    if (c.deletedAfterOpening) f.OpenRecording(), std::filesystem::remove(name);
    const auto seen = AnswerNextMessageBox();
    f.OpenRecording();
    EXPECT_EQ(seen->caption, "Uwaga") << c.name;
    EXPECT_EQ(seen->text, c.message) << c.name;
    EXPECT_FALSE(program.state->recording.dataFileOpen) << c.name;
    EXPECT_EQ(program.state->recording.sampleCount, 0) << c.name;
    EXPECT_EQ(f.ZoomLabel->text(), "1:1") << c.name;
    for (QWidget* b : ViewButtons(f)) EXPECT_FALSE(b->isEnabled()) << c.name;
    EXPECT_NE(PlotPixel(f, 2, 150), QColor(0, 255, 0)) << c.name;
  }
}

TEST(FilePanel, NewCreatesAsksBeforeOverwritingAndReportsFailure) {
  StartedProgram program;
  TForm1& f = program.Main();
  const std::string name = program.dir.File("nowy.osr");

  // No file yet: created without a question.
  f.FileNameEdit->SetText(QString::fromStdString(program.dir.File("nowy.txt")));
  f.NewRecording();
  EXPECT_EQ(ReadFile(name), "");
  EXPECT_TRUE(program.state->recording.dataFileOpen);
  EXPECT_TRUE(f.StartButton->isEnabled());

  // An existing file: Enter keeps it, and the recording that was open counts as closed.
  WriteFile(name, std::string(2000, 'a'));
  f.OpenRecording();
  ASSERT_TRUE(f.FftButton->isEnabled());
  auto seen = AnswerNextMessageBox(QMessageBox::NoButton);
  f.NewRecording();
  EXPECT_EQ(seen->caption, "Uwaga!");
  EXPECT_EQ(seen->text, "Plik istnieje!\nCzy nadpisac?");
  EXPECT_EQ(seen->buttons, QStringList({"&Tak", "&Nie"}));  // Qt's own texts in Polish
  EXPECT_EQ(ReadFile(name), std::string(2000, 'a'));
  EXPECT_EQ(f.ScrollBar1->maximum(), 0);
  EXPECT_FALSE(program.state->recording.dataFileOpen);
  EXPECT_FALSE(f.FftButton->isEnabled());
  EXPECT_FALSE(f.StartButton->isEnabled());

  seen = AnswerNextMessageBox(QMessageBox::Yes);
  f.NewRecording();
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(ReadFile(name), "");
  EXPECT_TRUE(f.StartButton->isEnabled());

  // A folder that does not exist: reported, and Start stays as it was.
  f.StartButton->setEnabled(false);
  f.FileNameEdit->SetText(QString::fromStdString(program.dir.File("brak/nowy.osr")));
  seen = AnswerNextMessageBox();
  f.NewRecording();
  EXPECT_EQ(seen->caption, "Uwaga");
  EXPECT_EQ(seen->text, "Nie mogę utworzyć pliku!");
  EXPECT_FALSE(f.StartButton->isEnabled());
  EXPECT_FALSE(program.state->recording.dataFileOpen);
}

TEST(FilePanel, BrowseDisablesTheWindowUntil200msAfterTheDialog) {
  StartedProgram program;
  TForm1& f = program.Main();
  f.show();
  const std::string chosen = program.dir.File("wybrany.osr");
  WriteFile(chosen, "x");
  const QString before = f.FileNameEdit->Text();
  for (const bool accept : {false, true}) {
    bool disabledWhileOpen = false;
    QString filter;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      poll.stop();
      disabledWhileOpen = !f.isEnabled();
      filter = dialog->nameFilters().join(";;") + " " + dialog->labelText(QFileDialog::Accept);
      if (!accept) return dialog->reject();
      // As a person does: the name typed into the dialog's box, then Enter.
      auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(nameBox, nullptr);
      nameBox->setText(QString::fromStdString(chosen));
      QTest::keyClick(nameBox, Qt::Key_Return);
    });
    poll.start();
    QTest::mouseClick(f.FileNameEdit->BrowseButton(), Qt::LeftButton);
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_EQ(filter, "Pliki wykresownika (.osr) (*.osr) &Otwórz");  // the button in Polish
    EXPECT_FALSE(f.isEnabled());
    EXPECT_EQ(f.FileNameEdit->Text(), accept ? QString::fromStdString(chosen) : before);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.isEnabled(); }, 1000));
  }
}

TEST(FilePanel, ANameGivenAtStartIsOpenedAsByOtworz) {
  // {file, message}: the trace of the 600 samples at 50 fills row 200, or "Otworz"'s message.
  const std::pair<const char*, const char*> cases[] = {{"pomiar.osr", ""},
                                                       {"missing.osr", "Nie mogę otworzyć pliku!"}};
  for (const auto& [file, message] : cases) {
    StartedProgram program;
    TForm1& f = program.Main();
    f.show();
    WriteFile(program.dir.File("pomiar.osr"), std::string(600, '\x32'));
    const auto seen = AnswerNextMessageBox();
    f.OpenRecordingAtStart(QString::fromStdString(program.dir.File(file)));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return seen->shown || program.state->recording.dataFileOpen; }, 10000));
    seen->StopWaiting();
    EXPECT_EQ(seen->text, message);
    EXPECT_EQ(f.FileNameEdit->Text().toStdString(), program.dir.File(file));
    for (int column = 0; column < 499; ++column)
      ASSERT_EQ(PlotPixel(f, column, 200) == QColor(0, 255, 0), !*message) << file << column;
  }
}

}  // namespace
}  // namespace wyk
