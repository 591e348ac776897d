// File names and things in a recording's place, one row each, with what the user sees on
// "Otworz" and on "Nowy".
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "gui/StartedProgram.h"
#include "support/MessageBoxes.h"

namespace wyk {
namespace {

using testing::AnswerNextMessageBox;
using testing::StartedProgram;
using testing::WriteFile;

enum class Thing { kNothing, kFile, kFolder, kFifo };

struct NameRow {
  const char* name;     // as typed, under the test's folder
  const char* osr;      // the sample file it stands for
  Thing thing;          // what lies there
  const char* content;  // for a file
  const char* onOpen;   // message of "Otworz", "" for none
  const char* onNew;    // message of "Nowy" (the overwrite question answered No), "" for none
  int32_t sampleCount;  // after "Otworz"

  const char* osi = nullptr;               // the parameter file's "Parm" lines, when there is one
  const char* voltsCaption = "V/dz=10mV";  // Label21 after "Otworz"; Label22 shows T=0,5ms
};

TEST(BadFileNames, WhatTheUserSees) {
  const char* const kNotOpened = "Nie mogę otworzyć pliku!";
  const char* const kRefused = "Nie mogę otworzyć pliku!!!";
  const char* const kAsk = "Plik istnieje!\nCzy nadpisac?";
  const char* const kNotCreated = "Nie mogę utworzyć pliku!";
  const NameRow rows[] = {
      {"bez_rozszerzenia", "bez_rozszerzenia.osr", Thing::kFile, "ab", "", kAsk, 2},
      {".osi", ".osr", Thing::kFile, "a", "", kAsk, 1},
      {"kat.1/rec", "kat.1/rec.osr", Thing::kFile, "abc", "", kAsk, 3},
      {"kat.1/rec.dane.txt", "kat.1/rec.dane.osr", Thing::kFile, "abcd", "", kAsk, 4},
      {"nic.osr", "nic.osr", Thing::kNothing, nullptr, kNotOpened, "", 0},
      {"folder.osr", "folder.osr", Thing::kFolder, nullptr, kNotOpened, kNotCreated, 0},
      {"fifo.osr", "fifo.osr", Thing::kFifo, nullptr, kNotOpened, kNotCreated, 0},
      {"pusty.osr", "pusty.osr", Thing::kFile, "", kRefused, kAsk, 0},
      {"jeden.osr", "jeden.osr", Thing::kFile, "\x80", "", kAsk, 1},
      {"a", "a.osr", Thing::kFile, "a", "", kAsk, 1, "Prob=1e30\nVD=1e30\nJednV=\xB5V",
       "V/dz=10mV"},
      {"b", "b.osr", Thing::kFile, "ab", "", kAsk, 2, "Prob=3,4e38\nVD=3,4e38"},
      {"c", "c.osr", Thing::kFile, "ab", "", kAsk, 2, "Prob=1e-30\nVD=1e-30"},
      {"d", "d.osr", Thing::kFile, "ab", "", kAsk, 2, "Prob=1,4e-45\nVD=1,4e-45"},
  };
  for (const NameRow& row : rows) {
    StartedProgram program;
    TForm1& f = program.Main();
    std::filesystem::create_directories(program.dir.Path() / "kat.1");
    const std::string osr = program.dir.File(row.osr);
    if (row.thing == Thing::kFile) WriteFile(osr, row.content);
    if (row.thing == Thing::kFolder) std::filesystem::create_directory(osr);
    if (row.thing == Thing::kFifo) {
      ASSERT_EQ(mkfifo(osr.c_str(), 0644), 0);
    }
    if (row.osi) WriteFile(program.dir.File(row.name) + ".osi", "[Parm]\n" + std::string(row.osi));
    f.FileNameEdit->SetText(QString::fromStdString(program.dir.File(row.name)));

    auto seen = AnswerNextMessageBox();
    f.OpenRecording();
    f.grab();
    seen->StopWaiting();
    EXPECT_EQ(f.Label21->text() + f.Label22->text(), row.voltsCaption + QString("T=0,5ms"));
    EXPECT_EQ(seen->text, row.onOpen) << row.name;
    EXPECT_EQ(program.state->recording.sampleCount, row.sampleCount) << row.name;
    EXPECT_EQ(f.z1->isEnabled(), *row.onOpen == '\0') << row.name;

    seen = AnswerNextMessageBox(QMessageBox::No);
    f.NewRecording();
    seen->StopWaiting();
    EXPECT_EQ(seen->text, row.onNew) << row.name;
    EXPECT_EQ(f.StartButton->isEnabled(), *row.onNew == '\0') << row.name;
    if (row.thing == Thing::kFile) {
      EXPECT_EQ(testing::ReadFile(osr), row.content) << row.name << ": declined, kept";
    }
  }
}

}  // namespace
}  // namespace wyk
