#pragma once
// The two files of a recording are named after the one name in the file-name box.

#include <string>

namespace wyk {

// `name` with its extension replaced by `extension` (".osr", ".osi"): the text from the last
// full stop on is cut when that stop comes after the last "\", ":" or "/".
std::string RecordingFileName(const std::string& name, const std::string& extension);

}  // namespace wyk
