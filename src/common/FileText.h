#pragma once
// Texts read from parameter and settings files: written by this program as UTF-8, by Windows
// programs in windows-1250.

#include <string>
#include <string_view>

namespace wyk {

// The bytes as UTF-8: unchanged when they are valid UTF-8, otherwise read as windows-1250.
std::string FileText(std::string_view bytes);

}  // namespace wyk
