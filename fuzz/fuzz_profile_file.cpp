// Any bytes as a profile file, then one key written: the key reads back as written, every
// other entry reads as before, and every line of the old file but the one replaced is still
// there, in order, byte for byte.
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "storage/ProfileFile.h"

using namespace wyk;

namespace {

const char* const kSections[] = {"COM", "Parm", "col", "x y"};
const char* const kKeys[] = {"Port", "COM1", "prob", "a b", "Typ"};

// Line texts, ends being CR LF, LF or CR.
std::vector<std::string> LineTexts(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// Section and key of every line that looks like an entry; the real reader decides the rest.
std::vector<std::pair<std::string, std::string>> EntryNames(const std::vector<std::string>& lines) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  for (const std::string& line : lines) {
    const size_t open = line.find('['), close = line.find(']');
    if (open != std::string::npos && close != std::string::npos && open < close)
      section = line.substr(open + 1, close - open - 1);
    if (const size_t eq = line.find('='); eq != std::string::npos)
      names.emplace_back(section, line.substr(0, eq));
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  fuzz::FuzzInput input(data, size);
  const uint8_t choice = input.Take<uint8_t>();
  const std::string section = kSections[choice % 4], key = kKeys[(choice / 4) % 5];
  const std::string value = "v" + std::to_string(choice) + " w";
  const std::string content = input.Rest();
  const std::string path = fuzz::ScratchFile("profile.INI");
  fuzz::WriteBytes(path, content);

  const std::vector<std::string> lines = LineTexts(content);
  const auto names = EntryNames(lines);
  std::vector<std::string> before;
  for (const auto& [s, k] : names) before.push_back(ReadProfileString(path, s, k, "\x01"));

  WriteProfileString(path, section, key, value);
  const std::string after = fuzz::ReadBytes(path);

  if (ReadProfileString(path, section, key, "") != value) std::abort();
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string now = ReadProfileString(path, names[i].first, names[i].second, "\x01");
    if (now != before[i] && now != value) std::abort();
  }
  // Apart from a common head and tail of lines, the old file has at most the one replaced entry
  // and the new one at most a new section line and the entry.
  const std::vector<std::string> now = LineTexts(after);
  size_t head = 0, tail = 0;
  while (head < lines.size() && head < now.size() && lines[head] == now[head]) ++head;
  while (tail < lines.size() - head && tail < now.size() - head &&
         lines[lines.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const size_t oldMiddle = lines.size() - head - tail, newMiddle = now.size() - head - tail;
  if (oldMiddle > 1 || newMiddle > 2) std::abort();
  if (oldMiddle == 1 && lines[head].find('=') == std::string::npos) std::abort();
  return 0;
}
