#include "acquisition/PortName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/RecorderState.h"
#include "config/Settings.h"

namespace wyk {
namespace {

class SettingsFile {
 public:
  explicit SettingsFile(const std::string& text)
      : path_(std::filesystem::temp_directory_path() /
              ("wyk-com-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".INI")) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~SettingsFile() { std::filesystem::remove(path_); }
  std::string Path() const { return path_.string(); }
  std::string Text() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path path_;
};

TEST(PortName, ComNumberNamesTheMappedDeviceOrTtyS) {
  struct Case {
    const char* settings;
    const char* name;
    const char* device;
    const char* windowsDevice;  // where no key maps the port
  };
  const Case cases[] = {
      {"", "COM1", "/dev/ttyS0", "COM1"},
      {"[COM]\r\nPort=8\r\n", "COM8", "/dev/ttyS7", "COM8"},
      {"[COM]\r\nPort=8\r\nCOM8=/dev/ttyUSB0\r\n", "COM8", "/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"[COM]\r\nPort=1\r\nCOM1=/tmp/adapter\r\n", "COM1", "/tmp/adapter", "/tmp/adapter"},
      {"[COM]\r\nPort=2\r\nCOM1=/dev/ttyUSB0\r\n", "COM2", "/dev/ttyS1", "COM2"},
      {"[com]\r\nport=3\r\ncom3=/dev/ttyACM0\r\n", "COM3", "/dev/ttyACM0", "/dev/ttyACM0"},
      {"[COL]\r\nCOM1=/dev/ttyUSB0\r\n[COM]\r\nPort=1\r\n", "COM1", "/dev/ttyS0", "COM1"},
      {"[COM]\r\nPort=10\r\n", "COM10", "/dev/ttyS9", "\\\\.\\COM10"},
      {"[COM]\r\nPort=12\r\n", "COM12", "/dev/ttyS11", "\\\\.\\COM12"},  // keys stop at COM8
      {"[COM]\r\nPort=0\r\n", "COM0", "", ""},
  };
#ifdef _WIN32
  constexpr bool kWindows = true;
#else
  constexpr bool kWindows = false;
#endif
  for (const Case& c : cases) {
    SettingsFile file(c.settings);
    auto state = std::make_unique<RecorderState>();
    LoadSettings(state->settings, file.Path());
    EXPECT_EQ(PortName(state->settings.comPortNumber), c.name) << c.settings;
    EXPECT_EQ(PortDeviceName(state->settings), kWindows ? c.windowsDevice : c.device) << c.settings;
  }
}

TEST(PortName, SavingTheSettingsKeepsTheDeviceKeys) {
  SettingsFile file("[COM]\r\nCOM1=/dev/ttyUSB0\r\nPort=1\r\nCOM8=/tmp/x\r\n");
  auto state = std::make_unique<RecorderState>();
  LoadSettings(state->settings, file.Path());
  state->settings.comPortNumber = 8;
  SaveSettings(state->settings, file.Path());
  const std::string text = file.Text();
  EXPECT_NE(text.find("COM1=/dev/ttyUSB0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("COM8=/tmp/x\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Port=8\r\n"), std::string::npos) << text;
  LoadSettings(state->settings, file.Path());
  EXPECT_EQ(PortDeviceName(state->settings), "/tmp/x");
}

}  // namespace
}  // namespace wyk
