#include "CsvOptions.h"

#include <cstring>

#include "Command.h"

namespace wyk::cli {

CsvFormat CsvFormatOf(const Arguments& arguments) {
  CsvFormat format;
  if (arguments.Has("decimal")) {
    const std::string d = arguments.Value("decimal");
    if (d != "," && d != ".") throw CliError(kBadUsage, "--decimal: dozwolone \",\" lub \".\"");
    format.decimal = d[0];
  }
  if (arguments.Has("separator")) {
    const std::string s = arguments.Value("separator");
    const bool tab = s == "tab" || s == "\\t";
    if (!tab && (s.size() != 1 || std::strchr("0123456789-+\"\r\n", s[0]) || s[0] == '\0'))
      throw CliError(kBadUsage, "--separator: oczekiwano jednego znaku innego niż cyfra");
    format.separator = tab ? '\t' : s[0];
  }
  if (format.separator == format.decimal)
    throw CliError(kBadUsage, "separator pól i znak dziesiętny muszą się różnić");
  return format;
}

}  // namespace wyk::cli
