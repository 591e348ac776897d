#pragma once
// The one place where the core's UTF-8 texts become Qt strings.

#include <QString>
#include <string_view>

namespace wyk {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace wyk
