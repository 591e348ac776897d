#pragma once
// The CSV options of the commands that write CSV.

#include "Arguments.h"
#include "export/Csv.h"

namespace wyk::cli {

// From --separator (one character, or "tab") and --decimal ("," or "."); bad usage otherwise.
CsvFormat CsvFormatOf(const Arguments& arguments);

}  // namespace wyk::cli
