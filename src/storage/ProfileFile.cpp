#include "storage/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include <filesystem>

#include "common/Errors.h"

namespace wyk {
namespace {

constexpr size_t kMaxEntryLength = 2047;

struct Line {
  std::string text;
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::string Trim(const std::string& s) {
  const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t'; };
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The file's text, or nothing when there is no readable regular file at the path.
std::optional<std::string> ReadContent(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t nl = content.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool cr = nl > start && content[nl - 1] == '\r';
    lines.push_back({content.substr(start, nl - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
    start = nl + 1;
  }
  return lines;
}

[[noreturn]] void RaiseWriteError(const std::string& path) {
  throw AppError("Unable to write to " + std::filesystem::absolute(path).string());
}

bool WriteWhole(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  return static_cast<bool>(out);
}

// Replaces the file's content so that a failure part-way leaves the old file whole: the new
// text goes to a neighbour first and is renamed over the file. Where no neighbour can be made
// (a read-only directory) or the path is a link, the file is rewritten in place.
void ReplaceContent(const std::string& path, const std::string& content) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_symlink(path, error)) {
    const std::string neighbour = path + ".~zapis";
    if (WriteWhole(neighbour, content)) {
      if (fs::exists(path, error))
        fs::permissions(neighbour, fs::status(path, error).permissions(), error);
      fs::rename(neighbour, path, error);
      if (!error) return;
    }
    fs::remove(neighbour, error);
  }
  if (!WriteWhole(path, content)) RaiseWriteError(path);
}

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(const std::string& text) {
  const std::string t = Trim(text);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line.
std::optional<std::string> KeyOf(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(text.substr(0, eq));
}

std::string ValueOf(const std::string& text) {
  std::string value = Trim(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value.substr(0, std::min(value.size(), kMaxEntryLength));
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText) {
  const auto content = ReadContent(path);
  if (!content) return defaultText;
  const std::vector<Line> lines = SplitLines(*content);
  bool inSection = false;
  for (const Line& line : lines) {
    if (const auto name = SectionOf(line.text)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      const auto k = KeyOf(line.text);
      if (k && SameName(*k, key)) return ValueOf(line.text);
    }
  }
  return defaultText;
}

void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
  const auto content = ReadContent(path);
  // A file that is there but cannot be read would lose its other entries.
  std::error_code error;
  if (!content && std::filesystem::exists(path, error) &&
      std::filesystem::is_regular_file(path, error))
    RaiseWriteError(path);
  std::vector<Line> lines = content ? SplitLines(*content) : std::vector<Line>{};
  const std::string entry = key + "=" + value;

  // Find the section and, within it, the key or the last non-blank line.
  std::optional<size_t> sectionLine, keyLine, lastInSection;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionOf(lines[i].text)) {
      if (sectionLine) break;
      if (SameName(*name, section)) sectionLine = lastInSection = i;
    } else if (sectionLine) {
      const auto k = KeyOf(lines[i].text);
      if (k && SameName(*k, key)) {
        keyLine = i;
        break;
      }
      if (!Trim(lines[i].text).empty()) lastInSection = i;
    }
  }

  if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = "\r\n";
  if (keyLine) {
    lines[*keyLine].text = entry;
  } else if (sectionLine) {
    lines.insert(lines.begin() + static_cast<long>(*lastInSection) + 1, Line{entry, "\r\n"});
  } else {
    lines.push_back({"[" + section + "]", "\r\n"});
    lines.push_back({entry, "\r\n"});
  }

  std::string text;
  for (const Line& line : lines) text.append(line.text).append(line.ending);
  ReplaceContent(path, text);
}

}  // namespace wyk
