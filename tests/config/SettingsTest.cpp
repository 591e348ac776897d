#include "config/Settings.h"
#include "config/SettingsLocation.h"
#include "config/WindowsSettingsLocation.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <memory>

#include "app/RecorderState.h"
#include "common/Byte.h"
#include "common/Errors.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

struct Loaded {
  TColor line, background, grid;
  int port, type, offset;
  bool envelope = false;
};

Loaded Load(const std::string& path) {
  auto state = std::make_unique<RecorderState>();
  LoadSettings(state->settings, path);
  return {state->settings.lineColor,     state->settings.backgroundColor, state->settings.gridColor,
          state->settings.comPortNumber, state->settings.adapterType,     state->settings.dcOffset,
          state->settings.envelopeView};
}

TEST(Settings, FileContentsGiveValuesEntryByEntry) {
  struct Case {
    const char* name;
    const char* content;  // nullptr: no file at all
    Loaded expected;
  };
  const Case cases[] = {
      {"missing file", nullptr, {65280, 0, 32768, 1, 2, 120}},
      {"only COM Typ=1", "[COM]\r\nTyp=1\r\n", {65280, 0, 32768, 1, 1, 120}},
      {"0x hex", "[COL]\nclTlo=0xFFFFFF\n", {65280, 0xFFFFFF, 32768, 1, 2, 120}},
      {"$ hex", "[COL]\nclTlo=$FFFFFF\n", {65280, 0xFFFFFF, 32768, 1, 2, 120}},
      {"0X upper", "[COL]\nclTlo=0X10\n", {65280, 16, 32768, 1, 2, 120}},
      {"hex with the top bit",
       "[COL]\nclTlo=$FFFFFFFF\nclSiatka=0x80000000\n",
       {65280, 0xFFFFFFFF, 0x80000000, 1, 2, 120}},
      {"bare 0x", "[COL]\nclTlo=0x\n", {65280, 0, 32768, 1, 2, 120}},
      {"Port=abc", "[COM]\nPort=abc\n", {65280, 0, 32768, 1, 2, 120}},
      {"Port=257 keeps the low byte", "[COM]\nPort=257\n", {65280, 0, 32768, 1, 2, 120}},
      {"SkladowaStala=300", "[COM]\nSkladowaStala=300\n", {65280, 0, 32768, 1, 2, 44}},
      {"Typ=7 stays", "[COM]\nTyp=7\n", {65280, 0, 32768, 1, 7, 120}},
      {"negative offset", "[COM]\nSkladowaStala=-1\n", {65280, 0, 32768, 1, 2, 255}},
      {"key and section case", "[col]\nCLLINIA=255\n[Com]\nport=8\n", {255, 0, 32768, 8, 2, 120}},
      {"spaces around =", "[COM]\n Typ = 0 \n", {65280, 0, 32768, 1, 0, 120}},
      {"empty value", "[COM]\nTyp=\n", {65280, 0, 32768, 1, 2, 120}},
      {"out of 32-bit range", "[COL]\nclLinia=4294967296\n", {65280, 0, 32768, 1, 2, 120}},
      {"key in another section", "[X]\nTyp=1\n[COM]\n", {65280, 0, 32768, 1, 2, 120}},
      {"envelope view", "[WIDOK]\r\nObwiednia=1\r\n", {65280, 0, 32768, 1, 2, 120, true}},
      {"all six",
       "[COL]\r\nclLinia=255\r\nclTlo=16777215\r\nclSiatka=128\r\n[COM]\r\nPort=3\r\nTyp=0\r\n"
       "SkladowaStala=7\r\n",
       {255, 16777215, 128, 3, 0, 7}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.File("wykresownik.INI");
    if (c.content) WriteFile(path, c.content);
    const Loaded got = Load(path);
    EXPECT_EQ(got.line, c.expected.line) << c.name;
    EXPECT_EQ(got.background, c.expected.background) << c.name;
    EXPECT_EQ(got.grid, c.expected.grid) << c.name;
    EXPECT_EQ(got.port, c.expected.port) << c.name;
    EXPECT_EQ(got.type, c.expected.type) << c.name;
    EXPECT_EQ(got.offset, c.expected.offset) << c.name;
    EXPECT_EQ(got.envelope, c.expected.envelope) << c.name;
  }
}

TEST(Settings, SavingANewFileWritesTheSixEntriesInOrder) {
  TempDir dir;
  const std::string path = dir.File("wykresownik.INI");
  auto state = std::make_unique<RecorderState>();
  state->settings.adapterType = 2;
  SaveSettings(state->settings, path);
  EXPECT_EQ(ReadFile(path),
            "[COL]\r\nclLinia=65280\r\nclTlo=0\r\nclSiatka=32768\r\n"
            "[COM]\r\nPort=1\r\nTyp=2\r\nSkladowaStala=120\r\n");
}

TEST(Settings, SavingKeepsOtherSectionsAndKeysAndReplacesInPlace) {
  TempDir dir;
  const std::string path = dir.File("wykresownik.INI");
  WriteFile(path,
            "; komentarz\n[Inne]\nA=1\n\n[com]\nCOM1=/dev/ttyUSB0\nTYP=1\n\n[COL]\nclTlo=5\n");
  auto state = std::make_unique<RecorderState>();
  state->settings.backgroundColor = 0xFFFFFF;
  state->settings.adapterType = 2;
  state->settings.dcOffset = LowByte(300);
  SaveSettings(state->settings, path);
  EXPECT_EQ(ReadFile(path),
            "; komentarz\n[Inne]\nA=1\n\n"
            "[com]\nCOM1=/dev/ttyUSB0\nTyp=2\nPort=1\r\nSkladowaStala=44\r\n\n"
            "[COL]\nclTlo=16777215\nclLinia=65280\r\nclSiatka=32768\r\n");
  const Loaded back = Load(path);
  EXPECT_EQ(back.background, 0xFFFFFFu);
  EXPECT_EQ(back.offset, 44);
}

TEST(Settings, AWriteThatFailsNamesTheFullFileName) {
  enum Obstacle { kMissingDirectory, kNameTakenByDirectory, kReadOnlyDirectory };
  for (Obstacle obstacle : {kMissingDirectory, kNameTakenByDirectory, kReadOnlyDirectory}) {
    TempDir dir;
    std::string path = dir.File("wykresownik.INI");
    if (obstacle == kMissingDirectory) WriteFile(path = dir.File("brak"), ""), path += "/w.INI";
    if (obstacle == kNameTakenByDirectory) std::filesystem::create_directory(path);
    if (obstacle == kReadOnlyDirectory) {
#ifdef _WIN32
      continue;  // a folder's read-only mark does not stop writes
#else
      if (geteuid() == 0) continue;  // root writes into read-only directories
#endif
      std::filesystem::permissions(
          dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    auto state = std::make_unique<RecorderState>();
    try {
      SaveSettings(state->settings, path);
      ADD_FAILURE() << "no error raised, obstacle " << obstacle;
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_FALSE(std::filesystem::is_regular_file(path));
  }
}

TEST(Settings, FileLiesBesideTheExecutable) {
  EXPECT_EQ(SettingsFilePath("/opt/wyk/wykresownik"), "/opt/wyk/wykresownik.INI");
  EXPECT_EQ(SettingsFilePath("/opt/wyk/Wykresownik.exe"), "/opt/wyk/Wykresownik.INI");
}

TEST(Settings, BesideTheExecutableWhenThereOrWritableElseInTheUsersConfigFolder) {
  const std::tuple<bool, bool, std::optional<std::string>, const char*> windowsCases[] = {
      {true, false, "C:\\A", "C:\\P\\w.INI"},
      {false, true, "C:\\A", "C:\\P\\w.INI"},
      {false, false, "C:\\A", "C:\\A\\Wykresownik\\wykresownik.INI"},
      {false, false, "\\\\s\\u\\", "\\\\s\\u\\Wykresownik\\wykresownik.INI"},
      {false, false, "A", "C:\\P\\w.INI"},
      {false, false, std::nullopt, "C:\\P\\w.INI"}};
  for (const auto& [exists, writable, appData, expected] : windowsCases)
    EXPECT_EQ(ChooseWindowsSettingsPath({"C:\\P\\w.exe", exists, writable, appData}), expected);
#ifndef _WIN32  // XDG folders, permission bits and HOME; Windows has APPDATA
  const std::tuple<bool, bool, std::optional<std::string>, const char*> cases[] = {
      {true, false, "/c", "/b/w.INI"},
      {false, true, "/c", "/b/w.INI"},
      {false, false, "/c", "/c/wykresownik/wykresownik.INI"},
      {false, false, std::nullopt, "/h/.config/wykresownik/wykresownik.INI"}};
  for (const auto& [exists, writable, xdg, expected] : cases)
    EXPECT_EQ(ChooseSettingsPath({"/b/w", exists, writable, xdg, "/h"}), expected);
  // Installed for all (root in /usr/bin): not beside it, even with a file left there.
  EXPECT_EQ(ChooseSettingsPath({"/b/w", true, true, {}, "/h", true}),
            "/h/.config/wykresownik/wykresownik.INI");
  EXPECT_EQ(SettingsPathFor("/usr/bin/wykresownik").rfind("/usr/bin/", 0), std::string::npos);
  // A read-only folder for a plain user: the user's folder, made by the first save.
  TempDir bin, home;
  std::filesystem::permissions(bin.Path(), std::filesystem::perms::owner_read);
  setenv("XDG_CONFIG_HOME", home.File("c").c_str(), 1);
  SaveSettings(std::make_unique<RecorderState>()->settings, SettingsPathFor(bin.File("w")));
  EXPECT_TRUE(std::filesystem::is_regular_file(
      geteuid() ? home.File("c/wykresownik/wykresownik.INI") : bin.File("w.INI")));
#endif
}

TEST(Settings, StartValuesBeforeLoading) {
  auto state = std::make_unique<RecorderState>();
  EXPECT_EQ(state->settings.lineColor, 65280u);
  EXPECT_EQ(state->settings.adapterType, 0);
  EXPECT_EQ(state->scales.samplePeriodMs, 0.5f);
  EXPECT_EQ(state->scales.voltsPerDiv, 10.0f);
  EXPECT_EQ(state->scales.voltsUnit, "mV");
  EXPECT_EQ(LowByte(300), 44);
}

}  // namespace
}  // namespace wyk
