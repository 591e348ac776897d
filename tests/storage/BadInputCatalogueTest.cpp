// Damaged settings and parameter files, one row per input, each with what the user gets.
#include <gtest/gtest.h>

#include <memory>

#include "app/RecorderState.h"
#include "config/Settings.h"
#include "storage/RecordingParameters.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::TempDir;
using testing::WriteFile;

struct SettingsRow {
  const char* damage;
  std::string content;
  TColor background;
  int port, type, offset;
  const char* com1;  // the device COM1 opens
};

TEST(BadInputCatalogue, SettingsFiles) {
  const std::string bigLine(10 << 20, 'x');
  const SettingsRow rows[] = {
      {"binary bytes", std::string("\0\xFF\x01[COM]\x00Typ=1", 12), 0, 1, 2, 120, ""},
      {"10 MB line before the entries", bigLine + "\r\n[COM]\r\nTyp=1\r\n", 0, 1, 1, 120, ""},
      {"10 MB value", "[COM]\r\nCOM1=" + bigLine + "\r\nTyp=0\r\n", 0, 1, 0, 120,
       nullptr},  // cut at 2047 characters
      {"missing ]", "[COM\r\nTyp=1\r\n", 0, 1, 2, 120, ""},
      {"duplicate sections: the first wins", "[COM]\nTyp=1\n[COM]\nTyp=0\nPort=3\n", 0, 3, 1, 120,
       ""},
      {"duplicate keys: the first wins", "[COM]\nTyp=1\nTyp=0\n", 0, 1, 1, 120, ""},
      {"keys without =", "[COM]\nTyp\nPort 3\nSkladowaStala=9\n", 0, 1, 2, 9, ""},
      {"CR-only line ends", "[COM]\rTyp=0\rPort=4\r", 0, 4, 0, 120, ""},
      {"LF-only line ends", "[COM]\nTyp=0\nPort=4\n", 0, 4, 0, 120, ""},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF[COL]\r\nclTlo=255\r\n", 255, 1, 2, 120, ""},
      {"windows-1250 bytes", "[COM]\r\nCOM1=/dev/ttyUSB\xB9\r\nTyp=1\r\n", 0, 1, 1, 120,
       "/dev/ttyUSB\xB9"},
      {"1e309", "[COM]\nPort=1e309\n", 0, 1, 2, 120, ""},
      {"-0", "[COM]\nSkladowaStala=-0\n", 0, 1, 2, 0, ""},
      {"nan", "[COM]\nTyp=nan\n", 0, 1, 2, 120, ""},
      {"0x", "[COL]\nclTlo=0x\n", 0, 1, 2, 120, ""},
      {"$", "[COL]\nclTlo=$\n", 0, 1, 2, 120, ""},
      {"99999999999", "[COL]\nclTlo=99999999999\n", 0, 1, 2, 120, ""},
  };
  for (const SettingsRow& row : rows) {
    TempDir dir;
    const std::string path = dir.File("wykresownik.INI");
    WriteFile(path, row.content);
    auto state = std::make_unique<RecorderState>();
    LoadSettings(state->settings, path);
    EXPECT_EQ(state->settings.backgroundColor, row.background) << row.damage;
    EXPECT_EQ(state->settings.comPortNumber, row.port) << row.damage;
    EXPECT_EQ(state->settings.adapterType, row.type) << row.damage;
    EXPECT_EQ(state->settings.dcOffset, row.offset) << row.damage;
    if (row.com1)
      EXPECT_EQ(state->settings.comDevicePaths[1], row.com1) << row.damage;
    else
      EXPECT_EQ(state->settings.comDevicePaths[1], std::string(2047, 'x')) << row.damage;
  }
}

struct ParameterRow {
  const char* damage;
  std::string content;
  float period, voltsPerDiv;
  const char* unit;
};

TEST(BadInputCatalogue, ParameterFiles) {
  const ParameterRow rows[] = {
      {"binary bytes", std::string("[Parm]\0Prob=2\xFF\r\nVD=\x01", 20), 0.5f, 10, "mV"},
      {"10 MB line", std::string(10 << 20, '7') + "\r\n[Parm]\r\nProb=2\r\n", 2, 10, "mV"},
      {"missing ]", "[Parm\r\nProb=2\r\n", 0.5f, 10, "mV"},
      {"duplicate sections", "[Parm]\nProb=2\n[Parm]\nProb=5\nVD=1\n", 2, 1, "mV"},
      {"keys without =", "[Parm]\nProb\nVD 5\nJednV=V\n", 0.5f, 10, "mV"},
      {"CR-only line ends", "[Parm]\rProb=0,2\rVD=0,1\rJednV=V\r", 0.2f, 0.1f, "V"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Parm]\r\nProb=20\r\n", 20, 10, "mV"},
      {"windows-1250 unit", "[Parm]\r\nVD=10\r\nJednV=\xB5V\r\n", 0.5f, 10, "\xC2\xB5V"},
      {"windows-1250, not Latin-1", "[Parm]\r\nVD=2\r\nJednV=dzia\xB3ki \x9C\xB9\r\n", 0.5f, 2,
       "dzia\xC5\x82ki \xC5\x9B\xC4\x85"},
      {"unusable VD, unit V", "[Parm]\nVD=-5\nJednV=V\n", 0.5f, 10, "mV"},
      {"the widest usable", "[Parm]\nProb=146933\nVD=0,00025\n", 146933, 0.00025f, "mV"},
      {"just past them", "[Parm]\nProb=146934\nVD=0,000249\n", 0.5f, 10, "mV"},
      {"1e309", "[Parm]\nProb=1e309\nVD=1e300\n", 0.5f, 10, "mV"},
      {"-0", "[Parm]\nProb=-0\nVD=-5\n", 0.5f, 10, "mV"},
      {"nan", "[Parm]\nProb=nan\nVD=inf\n", 0.5f, 10, "mV"},
      {"0x and $", "[Parm]\nProb=0x10\nVD=$10\n", 0.5f, 10, "mV"},
      {"99999999999", "[Parm]\nProb=99999999999\nVD=1e14\n", 0.5f, 10, "mV"},
      {"point or comma", "[Parm]\nProb=0.2\nVD=0,5\n", 0.2f, 0.5f, "mV"},
  };
  for (const ParameterRow& row : rows) {
    TempDir dir;
    const std::string path = dir.File("r.osi");
    WriteFile(path, row.content);
    const RecordingParameters p = ReadRecordingParameters(path);
    EXPECT_EQ(p.samplePeriodMs, row.period) << row.damage;
    EXPECT_EQ(p.voltsPerDiv, row.voltsPerDiv) << row.damage;
    EXPECT_EQ(p.voltsUnit, row.unit) << row.damage;
  }
}

}  // namespace
}  // namespace wyk
