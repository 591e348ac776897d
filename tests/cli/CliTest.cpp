#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/CliRun.h"
#include "common/DateTime.h"
#include "common/PlatformFile.h"
#include "storage/RecordingParameters.h"
#include "support/TempDir.h"
#include "view/CursorTexts.h"

#ifndef _WIN32
#include <QStandardPaths>
#endif

namespace wyk {
namespace {

using testing::CsvLines;
using testing::Fields;
using testing::ReadFile;
using testing::RunCli;
using testing::TempDir;
using testing::WriteFile;

std::string Bytes(int count, int multiplier) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>(i * multiplier % 256);
  return bytes;
}

// The sample file, and the parameter file unless `parameters` is null.
std::string MakeRecording(const TempDir& dir, const std::string& base, const std::string& bytes,
                          const RecordingParameters* parameters) {
  WriteFile(dir.File(base + ".osr"), bytes);
  if (parameters) WriteRecordingParameters(dir.File(base + ".osi"), *parameters);
  return dir.File(base + ".osr");
}

struct ExitCase {
  std::vector<std::string> args;  // "@name" is a file in the test's folder
  int code;
  const char* errorMentions;  // in the error output; "" for nothing in particular
};

TEST(Cli, EveryExitCodeWithItsReason) {
  TempDir dir;
  MakeRecording(dir, "rec", Bytes(300, 1), nullptr);
  WriteFile(dir.File("empty.osr"), "");
  WriteFile(dir.File("taken.csv"), "old");
  std::filesystem::create_directory(dir.File("folder.osr"));
#ifndef _WIN32  // symbolic links are POSIX
  std::filesystem::create_symlink(dir.File("rec.osi"), dir.File("osi.lnk"));  // not there yet
#endif
  std::filesystem::create_hard_link(dir.File("rec.osr"), dir.File("twin.wav"));
  const ExitCase cases[] = {
      {{}, 1, "Polecenia"},
      {{"--help"}, 0, ""},
      {{"nagraj", "@rec.osr"}, 1, "nieznane polecenie"},
      {{"info", "--help"}, 0, ""},
      {{"export", "--help"}, 0, ""},
#ifndef _WIN32  // the commands on Qt
      {{"render", "--help"}, 0, ""},
      {{"spectrum", "--help"}, 0, ""},
#endif
      {{"info"}, 1, "brak pliku nagrania"},
      {{"info", "@rec.osr", "@more"}, 1, "nadmiarowy"},
      {{"info", "@rec.osr", "--bogus"}, 1, "--bogus"},
      {{"info", "@rec.osr"}, 0, ""},
      {{"info", "@rec.txt"}, 0, ""},
      {{"info", "@missing.osr"}, 2, "missing.osr: nie ma takiego pliku"},
      {{"info", "@empty.osr"}, 2, "empty.osr: plik nie zawiera próbek"},
      {{"info", "@folder.osr"}, 2, "folder.osr: to nie jest zwykły plik"},
      {{"export", "@rec.osr"}, 1, "--csv"},
      {{"export", "@rec.osr", "--csv", "@a.csv", "--wav", "@a.wav"}, 1, "--csv"},
      {{"export", "@rec.osr", "--wav", "@a.wav", "--decimal", "."}, 1, "--decimal"},
      {{"export", "@rec.osr", "--csv", "@a.csv", "--separator", ","}, 1, "różnić"},
      {{"export", "@rec.osr", "--csv", "@a.csv", "--separator", "ab"}, 1, "--separator"},
      {{"export", "@rec.osr", "--csv", "@a.csv", "--from", "20", "--to", "10"}, 1, "--from"},
      {{"export", "@rec.osr", "--csv", "@a.csv", "--from", "-1"}, 1, "--from"},
      {{"export", "@rec.osr", "--csv", "@rec.osr", "--force"}, 1, "plik próbek"},
#ifndef _WIN32
      {{"export", "@rec.osr", "--csv", "@osi.lnk", "--force"}, 1, "plik parametrów nagrania"},
#endif
      {{"export", "@rec.osr", "--wav", "@twin.wav", "--force"}, 1, "plik próbek nagrania"},
#ifndef _WIN32
      {{"spectrum", "@rec.osr", "--csv", "-", "--png", "-"}, 1, "wyjście standardowe"},
#endif
      {{"export", "@missing.osr", "--csv", "@b.csv"}, 2, "missing.osr"},
      {{"export", "@rec.osr", "--csv", "@taken.csv"}, 4, "taken.csv: plik już istnieje"},
      {{"export", "@rec.osr", "--csv", "@taken.csv", "--force"}, 0, ""},
      {{"export", "@rec.osr", "--csv", "@c.csv", "--to", "999"}, 0, "wyeksportowano 300 próbek"},
      {{"export", "@rec.osr", "--wav", "@żółw.wav"}, 0, ""},
      {{"export", "@rec.osr", "--wav", "@none/a.wav"}, 4, "nie ma takiego katalogu"},
      {{"export", "@rec.osr", "--wav", "@folder.osr", "--force"}, 4, "folder.osr"},
#ifndef _WIN32
      {{"render", "@rec.osr"}, 1, "--png"},
      {{"render", "@rec.osr", "--png", "@a.png", "--step", "0"}, 1, "--step"},
      {{"render", "@rec.osr", "--png", "@a.png", "--absolute=1"}, 1, "--absolute"},
      {{"render", "@rec.osr", "--png", "@a.png", "--settings", "@no.INI"}, 2, "no.INI"},
      {{"render", "@empty.osr", "--png", "@a.png"}, 2, "empty.osr"},
      {{"spectrum", "@rec.osr"}, 1, "--csv"},
      {{"spectrum", "@rec.osr", "--csv", "@s.csv", "--zoom", "5"}, 1, "--zoom"},
      {{"spectrum", "@rec.osr", "--png", "@taken.csv"}, 4, "taken.csv"},
#endif
  };
  for (const ExitCase& c : cases) {
    std::vector<std::string> args;
    std::string shown;
    for (const std::string& a : c.args) {
      args.push_back(a[0] == '@' ? dir.File(a.substr(1)) : a);
      shown += a + " ";
    }
    const auto result = RunCli(args);
    EXPECT_EQ(result.code, c.code) << shown << result.err;
    EXPECT_NE(result.err.find(c.errorMentions), std::string::npos) << shown << result.err;
    if (c.code == 0 && !*c.errorMentions) {
      EXPECT_EQ(result.err, "") << shown;
    }
  }
  // Refusals leave the outputs as they were; --help prints the command's own text.
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.csv")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.csv")));
  EXPECT_EQ(ReadFile(dir.File("taken.csv")).substr(0, 6), "Indeks");
  EXPECT_EQ(std::filesystem::file_size(FilePath(dir.File("żółw.wav"))), 344u);
  EXPECT_EQ(RunCli({"export", "--help"}).out.rfind("Użycie: wykresownik-cli export", 0), 0u);
}

TEST(Cli, InfoGivesWhatOpeningTakes) {
  TempDir dir;
  RecordingParameters made;
  made.start = DateTimeFromCivil(2024, 5, 6, 14, 3, 27, 512);
  made.samplePeriodMs = 0.2f;
  made.voltsPerDiv = 0.1f;
  made.voltsUnit = "V";
  const std::string with = MakeRecording(dir, "a", Bytes(1234, 3), &made);
  const std::string without = MakeRecording(dir, "b", Bytes(1234, 3), nullptr);
  const std::string huge = MakeRecording(dir, "c", Bytes(1234, 3), nullptr);
  WriteFile(dir.File("c.osi"), "[Parm]\r\nProb=3,4e38\r\nVD=1e-30\r\nJednV=\xB5V\r\n");
  const std::string unreadable = MakeRecording(dir, "d", Bytes(1234, 3), nullptr);
  std::filesystem::create_directory(dir.File("d.osi"));
  const std::string defaults = "\nLiczba próbek:      1234\nOkres próbkowania:  0,5 ms\n";
  const std::string rest =
      "Początek:           30:12:1899 00:00:00:000\n"
      "Czas trwania:       00:00:00:617 (617 ms)\nRozmiar pliku:      1234 B\n";
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {dir.File("a.txt"),
       "Plik próbek:        " + with + "\nPlik parametrów:    " + dir.File("a.osi") +
           "\nLiczba próbek:      1234\nOkres próbkowania:  0,200000002980232 ms\n"
           "V/dz:               0,100000001490116 V\n"
           "Początek:           06:05:2024 14:03:27:000\n"
           "Czas trwania:       00:00:00:246 (246,8 ms)\nRozmiar pliku:      1234 B\n"},
      {without, "Plik próbek:        " + without +
                    "\nPlik parametrów:    brak, wartości domyślne\nLiczba próbek:      1234\n"
                    "Okres próbkowania:  0,5 ms\nV/dz:               10 mV\n"
                    "Początek:           30:12:1899 00:00:00:000\n"
                    "Czas trwania:       00:00:00:617 (617 ms)\nRozmiar pliku:      1234 B\n"},
      {huge, "Plik próbek:        " + huge + "\nPlik parametrów:    " + dir.File("c.osi") +
                 defaults + "V/dz:               10 mV\n" + rest},
      {unreadable,
       "Plik próbek:        " + unreadable + "\nPlik parametrów:    " + dir.File("d.osi") +
           ": nieczytelny, wartości domyślne" + defaults + "V/dz:               10 mV\n" + rest},
  };
  for (const auto& c : cases) EXPECT_EQ(RunCli({"info", c.name}).out, c.expected);
}

// A time in tenths of a millisecond, written without trailing zeros.
std::string TenthsText(int64_t tenths, char decimal) {
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10) text += decimal + std::to_string(tenths % 10);
  return text;
}

TEST(Cli, CsvRowsAreTheCursorReadingsOfEverySample) {
  const std::string bytes = Bytes(700, 7);  // every value, 251 … 255 too
  const struct {
    float periodMs;
    int64_t tenthsPerSample;
    std::vector<std::string> options;
    char separator, decimal;
    int64_t from, to;
  } cases[] = {
      {0.2f, 2, {}, ';', ',', 0, 700},
      {0.5f, 5, {"--separator", "tab", "--decimal", "."}, '\t', '.', 0, 700},
      {20.0f,
       200,
       {"--separator=,", "--decimal=.", "--from", "650", "--to", "9999"},
       ',',
       '.',
       650,
       700},
      {0.2f, 2, {"--from", "5", "--to", "5"}, ';', ',', 5, 5},
  };
  for (const auto& c : cases) {
    TempDir dir;
    RecordingParameters made;
    made.samplePeriodMs = c.periodMs;
    made.voltsPerDiv = 0.1f;
    made.voltsUnit = "V";
    const std::string rec = MakeRecording(dir, "rec", bytes, &made);
    const std::string out = dir.File("out.csv");
    std::vector<std::string> args{"export", rec, "--csv", out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(RunCli(args).code, 0);
    const auto lines = CsvLines(ReadFile(out));
    ASSERT_EQ(static_cast<int64_t>(lines.size()), c.to - c.from + 1);
    const std::string s(1, c.separator);
    EXPECT_EQ(lines[0], "Indeks" + s + "Czas [ms]" + s + "Bajt" + s + "Wartosc [V]");
    for (int64_t i = c.from; i < c.to; ++i) {
      const int byte = static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
      std::string value = LevelValueNumber(PlotLevel(byte), made.voltsPerDiv);
      std::replace(value.begin(), value.end(), ',', c.decimal);
      const std::vector<std::string> expected{std::to_string(i),
                                              TenthsText(c.tenthsPerSample * i, c.decimal),
                                              std::to_string(byte), value};
      ASSERT_EQ(Fields(lines[static_cast<size_t>(i - c.from + 1)], c.separator), expected);
    }
  }
}

TEST(Cli, CsvToStandardOutputWithoutTrailingZerosFromRowZeroOn) {
  TempDir dir;
  RecordingParameters made;
  made.samplePeriodMs = 1.23456789f;
  const std::string rec = MakeRecording(dir, "r", Bytes(3, 1), &made);
  EXPECT_EQ(
      RunCli({"export", rec, "--csv", "-"}).out,
      "Indeks;Czas [ms];Bajt;Wartosc [mV]\r\n0;0;0;0\r\n1;1,234568;1;0,4\r\n2;2,469136;2;0,8\r\n");
}

#ifndef _WIN32  // signals and RLIMIT_FSIZE are POSIX
TEST(Cli, AnUnfinishedOutputLeavesNothingAndTheOldFileAsItWas) {
  TempDir dir;
  const std::string big = MakeRecording(dir, "big", "", nullptr);
  std::filesystem::resize_file(big, INT32_MAX);  // sparse
  const std::string rec = MakeRecording(dir, "rec", Bytes(300, 1), nullptr);
  const std::string taken = dir.File("taken.csv");
  const auto cut = [&big] { std::filesystem::resize_file(big, 1000); };
  const struct {
    const char* name;
    std::vector<std::string> args;
    testing::CliFault fault;
    int code;  // -1: ended by the signal
    const char* err;
  } cases[] = {
      {"Ctrl-C", {"export", big, "--csv", taken, "--force"}, {0, SIGINT, dir.File("")}, -1, ""},
      {"SIGTERM", {"export", big, "--wav", dir.File("a.wav")}, {0, SIGTERM, dir.File("")}, -1, ""},
      {"a full disk", {"export", rec, "--csv", taken, "--force"}, {2000}, 4, "dozwolony rozmiar"},
      {"cut short", {"export", big, "--csv", "-"}, {0, 0, "", cut}, 2, "próbce 1048576 z"},
      {"no sync", {"export", rec, "--csv", taken, "--force"}, {.failedCall = SYS_fsync}, 4, ""},
  };
  for (const auto& c : cases) {
    WriteFile(taken, "old");
    const long before = testing::Entries(dir.File(""));
    const auto run = RunCli(c.args, c.fault);
    EXPECT_EQ(run.code, c.code) << c.name;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(ReadFile(taken), "old") << c.name;
    EXPECT_EQ(testing::Entries(dir.File("")), before) << c.name;
  }
}
#endif

uint32_t Le(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

TEST(Cli, WavHoldsTheSamplesAtTheRecordingsRate) {
  const struct {
    float periodMs;
    int samples;
    std::vector<std::string> options;
    int from, to;
    uint32_t rate;
  } cases[] = {
      {0.2f, 301, {}, 0, 301, 5000},  // odd: padded to even
      {0.5f, 1000, {}, 0, 1000, 2000},
      {3.0f, 10, {"--from", "2", "--to", "9"}, 2, 9, 333},
      {1000.0f, 4, {}, 0, 4, 1},
      {2500.0f, 4, {}, 0, 4, 1},  // 0.4 Hz: the slowest a WAV header holds
  };
  for (const auto& c : cases) {
    TempDir dir;
    RecordingParameters made;
    made.samplePeriodMs = c.periodMs;
    const std::string bytes = Bytes(c.samples, 11);
    const std::string rec = MakeRecording(dir, "rec", bytes, &made);
    std::vector<std::string> args{"export", rec, "--wav", dir.File("out.wav")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(RunCli(args).code, 0) << c.periodMs;
    const std::string wav = ReadFile(dir.File("out.wav"));
    const uint32_t data = static_cast<uint32_t>(c.to - c.from);
    ASSERT_EQ(wav.size(), 44 + data + data % 2) << c.periodMs;
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(Le(wav, 16, 4), 16u);
    EXPECT_EQ(Le(wav, 20, 2), 1u);  // PCM
    EXPECT_EQ(Le(wav, 22, 2), 1u);  // mono
    EXPECT_EQ(Le(wav, 24, 4), c.rate) << c.periodMs;
    EXPECT_EQ(Le(wav, 28, 4), c.rate);
    EXPECT_EQ(Le(wav, 32, 2), 1u);
    EXPECT_EQ(Le(wav, 34, 2), 8u);
    EXPECT_EQ(Le(wav, 40, 4), data);
    EXPECT_EQ(wav.substr(44, data), bytes.substr(static_cast<size_t>(c.from), data));
  }
}

#ifndef _WIN32
// What sigrok-cli prints, less its comments and the header of units.
std::vector<std::string> Sigrok(const std::vector<std::string>& args) {
  QProcess sigrok;
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  sigrok.start("sigrok-cli", list);
  sigrok.waitForFinished(120000);
  std::vector<std::string> lines;
  for (const QString& line :
       QString(sigrok.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
    if (!line.startsWith(';') && line != "V DC") lines.push_back(line.toStdString());
  return lines;
}

TEST(Cli, SigrokReadsTheSessionBackAsTheCsvsValues) {
  if (QStandardPaths::findExecutable("sigrok-cli").isEmpty())
    GTEST_SKIP() << "sigrok-cli is not installed (scripts/install-deps installs it)";
  const struct {
    int samples;
    std::vector<std::string> stretch;
    float periodMs;
    const char* unit;
    const char* rate;
  } cases[] = {
      {1, {}, 0.3f, "V", "3333"},
      {3000001, {}, 0.5f, "mV", "2000"},
      {5000, {"--from", "1200", "--to", "3701"}, 2.0f, "mV", "500"},  // A–B
  };
  for (const auto& c : cases) {
    TempDir dir;
    RecordingParameters made;
    made.samplePeriodMs = c.periodMs;
    made.voltsPerDiv = 0.1f;
    made.voltsUnit = c.unit;
    const std::string rec = MakeRecording(dir, "rec", Bytes(c.samples, 7), &made);
    const std::string sr = dir.File("out.sr"), csv = dir.File("out.csv");
    for (const std::string option : {"--sr", "--csv"}) {
      std::vector<std::string> args{"export", rec, option, option == "--sr" ? sr : csv};
      args.insert(args.end(), c.stretch.begin(), c.stretch.end());
      ASSERT_EQ(RunCli(args).code, 0) << option;
    }
    const std::vector<std::string> rows = CsvLines(ReadFile(csv));
    EXPECT_EQ(
        Sigrok({"-i", sr, "--show"}),
        (std::vector<std::string>{"Samplerate: " + std::string(c.rate), "Channels: 1",
                                  "- " + std::string(c.unit) + ": analog",
                                  "Analog sample count: " + std::to_string(rows.size() - 1)}));
    const std::vector<std::string> values = Sigrok({"-i", sr, "-O", "csv"});
    ASSERT_EQ(values.size(), rows.size() - 1) << c.samples;
    // sigrok-cli prints each float with six significant digits ("%g"): our value as a float,
    // printed so, is its text.
    for (size_t i = 0; i < values.size(); ++i) {
      const QString ours = QString::fromStdString(Fields(rows[i + 1], ';')[3]).replace(',', '.');
      char text[32];
      std::snprintf(text, sizeof text, "%g", static_cast<double>(ours.toFloat()));
      ASSERT_EQ(values[i], text) << c.samples << " row " << i;
    }
  }
}

TEST(Cli, LinksNoWidgets) {
  QProcess ldd;
  ldd.start("ldd", {WYK_CLI_PATH});
  ASSERT_TRUE(ldd.waitForFinished(30000));
  const QString libraries = ldd.readAllStandardOutput();
  EXPECT_TRUE(libraries.contains("Qt6Gui")) << libraries.toStdString();
  EXPECT_FALSE(libraries.contains("Widgets")) << libraries.toStdString();
}
#endif

}  // namespace
}  // namespace wyk
