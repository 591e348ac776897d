#include "storage/RecordingNames.h"

namespace wyk {

std::string RecordingFileName(const std::string& name, const std::string& extension) {
  const size_t dot = name.rfind('.');
  const size_t separator = name.find_last_of("\\:/");
  const bool hasExtension =
      dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return (hasExtension ? name.substr(0, dot) : name) + extension;
}

}  // namespace wyk
