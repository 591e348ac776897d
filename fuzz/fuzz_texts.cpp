// Number, time and date texts of any double: no crash, and only the characters and ranges the
// program shows.
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "common/DateTime.h"
#include "common/NumberText.h"

using namespace wyk;

namespace {

bool OnlyOf(const std::string& text, const char* allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

int Field(const std::string& text, size_t at) {
  return std::stoi(text.substr(at, 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput input(data, size);
  const double value = input.Take<double>();
  const int digits = 1 + input.Take<uint8_t>() % 15;
  const std::string number = NumberText(value, digits);
  if (number.empty() || number.size() > 400 || !OnlyOf(number, "-0123456789,E+INFAan"))
    std::abort();

  const std::string time = TimeText(value);
  if (time.size() != 12 || !OnlyOf(time, "0123456789:") || Field(time, 0) > 23 ||
      Field(time, 3) > 59 || Field(time, 6) > 59)
    std::abort();
  const std::string date = DateText(value);
  if (date.size() < 10 || !OnlyOf(date, "-0123456789:") || Field(date, 0) < 1 ||
      Field(date, 0) > 31 || Field(date, 3) < 1 || Field(date, 3) > 12)
    std::abort();
  return 0;
}
