#include "storage/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include <filesystem>

#include "common/Errors.h"
#include "common/PlatformFile.h"

namespace wyk {
namespace {

constexpr size_t kMaxEntryLength = 2047;

struct Line {
  std::string text;
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

// Views, so that a file with very long lines is scanned without copying them.
std::string_view Trim(std::string_view s) {
  const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t'; };
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The file's text, or nothing when there is no readable regular file at the path.
std::optional<std::string> ReadContent(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(FilePath(path), error)) return std::nullopt;
  std::ifstream in(FilePath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return std::move(content).str();
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Lines end in CR LF, LF or a lone CR, as editors on different systems leave them. A UTF-8
// byte-order mark at the start is no part of the first line; it is kept as a line of its own
// with no ending, which no section or key can match, so a rewrite puts it back in place.
std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  size_t start = 0;
  if (content.starts_with(kByteOrderMark)) {
    lines.push_back({std::string(kByteOrderMark), ""});
    start = kByteOrderMark.size();
  }
  while (start < content.size()) {
    const size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool crlf = content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
    const size_t endingLength = crlf ? 2 : 1;
    lines.push_back({content.substr(start, end - start), content.substr(end, endingLength)});
    start = end + endingLength;
  }
  return lines;
}

[[noreturn]] void RaiseWriteError(const std::string& path) {
  throw AppError("Unable to write to " + PathText(std::filesystem::absolute(FilePath(path))));
}

// A symbolic link is followed to the file it names, so that the link itself stays.
std::string LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = FilePath(path);
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(p, error); ++hops) {
    const fs::path next = fs::read_symlink(p, error);
    if (error) break;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return PathText(p);
}

// Used only where no neighbour file can be made (a read-only folder). The part that grows
// the file is written first, so a full disk stops the write before any old byte is touched;
// the rest then only overwrites blocks the file already has.
void RewriteInPlace(const std::string& target, const std::string& content,
                    const std::string& shownPath) {
  const int fd = OpenFile(target, kFileWrite);
  if (fd < 0) RaiseWriteError(shownPath);
  const auto status = StatusOf(fd);
  bool ok = status.has_value();
  const size_t oldSize = ok ? static_cast<size_t>(status->size) : 0;
  if (ok && content.size() > oldSize) {
    ok = WriteAt(fd, static_cast<int64_t>(oldSize), content.data() + oldSize,
                 content.size() - oldSize);
    if (!ok && !TruncateFile(fd, static_cast<int64_t>(oldSize))) ok = false;
    if (!ok) {
      CloseFile(fd);
      RaiseWriteError(shownPath);
    }
  }
  ok = ok && WriteAt(fd, 0, content.data(), std::min(oldSize, content.size())) &&
       TruncateFile(fd, static_cast<int64_t>(content.size()));
  if (!CloseFile(fd)) ok = false;
  if (!ok) RaiseWriteError(shownPath);
}

// Replaces the file's content so that a failure part-way leaves the old file whole: the new
// text goes to a neighbour file, which takes the old file's permissions, owner and group, and
// is then renamed over it. A file the user has write-protected is not replaced.
void ReplaceContent(const std::string& path, const std::string& content) {
  const std::string target = LinkTarget(path);
  const auto old = StatusOf(target);
  const bool exists = old.has_value();
  if (exists && (!old->regular || !IsWritable(target))) RaiseWriteError(path);
  const std::string neighbour = target + ".~zapis";
  const int fd =
      OpenFile(neighbour, kFileWrite | kFileCreate | kFileTruncate | kFileNoFollow, 0666);
  if (fd < 0) {
    if (!exists) RaiseWriteError(path);
    RewriteInPlace(target, content, path);
    return;
  }
  bool ok = WriteAt(fd, 0, content.data(), content.size()) && SyncFile(fd);
  if (ok && exists) ok = TakeOwnerAndMode(fd, *old);
  if (!CloseFile(fd)) ok = false;
  if (!ok || !MoveFileReplacing(neighbour, target)) {
    RemoveFile(neighbour.c_str());
    RaiseWriteError(path);
  }
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view text) {
  const std::string_view t = Trim(text);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line.
std::optional<std::string_view> KeyOf(std::string_view text) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(text.substr(0, eq));
}

std::string ValueOf(std::string_view text) {
  std::string_view value = Trim(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, std::min(value.size(), kMaxEntryLength)));
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText) {
  const auto content = ReadContent(path);
  if (!content) return defaultText;
  std::string_view rest = *content;
  if (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
  bool inSection = false;
  while (!rest.empty()) {
    const size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end);
    if (rest.starts_with("\r\n"))
      rest.remove_prefix(2);
    else if (!rest.empty())
      rest.remove_prefix(1);
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      const auto k = KeyOf(line);
      if (k && SameName(*k, key)) return ValueOf(line);
    }
  }
  return defaultText;
}

ProfileFileState ProfileFileStateOf(const std::string& path) {
  if (ReadContent(path)) return ProfileFileState::kRead;
  std::error_code error;
  return std::filesystem::exists(FilePath(path), error) ? ProfileFileState::kUnreadable
                                                        : ProfileFileState::kMissing;
}

void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
  const auto content = ReadContent(path);
  // A file that is there but cannot be read would lose its other entries.
  std::error_code error;
  if (!content && std::filesystem::exists(FilePath(path), error) &&
      std::filesystem::is_regular_file(FilePath(path), error))
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

  // New lines end in CR LF, whatever the file's other lines end in.
  const std::string newEnding = "\r\n";
  if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = newEnding;
  if (keyLine) {
    lines[*keyLine].text = entry;
  } else if (sectionLine) {
    lines.insert(lines.begin() + static_cast<long>(*lastInSection) + 1, Line{entry, newEnding});
  } else {
    lines.push_back({"[" + section + "]", newEnding});
    lines.push_back({entry, newEnding});
  }

  std::string text;
  for (const Line& line : lines) text.append(line.text).append(line.ending);
  ReplaceContent(path, text);
}

}  // namespace wyk
