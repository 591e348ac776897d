#pragma once
// Runs wykresownik-cli as a child process and keeps what it printed.

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

namespace wyk::testing {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
};

inline CliResult RunCli(const std::vector<std::string>& args) {
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess process;
  process.start(WYK_CLI_PATH, list);
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// Lines of a CSV text, without their CR LF ends.
inline std::vector<std::string> CsvLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

inline std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields(1);
  for (char c : line)
    if (c == separator)
      fields.emplace_back();
    else
      fields.back() += c;
  return fields;
}

}  // namespace wyk::testing
