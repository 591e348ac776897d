#pragma once
// CSV as spreadsheets open it: a header row, one separator, numbers with the chosen decimal mark,
// CR LF line ends. The defaults suit a Polish spreadsheet: ';' between fields, ',' in numbers.

#include <cstdint>
#include <string>

namespace wyk {

inline constexpr const char* kCsvLineEnd = "\r\n";

struct CsvFormat {
  char separator = ';';
  char decimal = ',';
};

// A number text of the core (decimal comma) with the format's decimal mark.
std::string CsvNumber(std::string text, const CsvFormat& format);
// A text field, quoted when it holds the separator, a quote or a line end.
std::string CsvText(const std::string& text, const CsvFormat& format);

// Times of samples in milliseconds: index × the period rounded to 7 significant digits (what a
// single-precision period holds), exact in decimal, so 0.2 ms gives 0,2; 0,4; 0,6 …
class SampleTimes {
 public:
  explicit SampleTimes(float periodMs);
  // Writes the time of sample `index` at `out`; returns the end. Needs up to 80 bytes.
  char* Write(int64_t index, char decimal, char* out) const;
  std::string Text(int64_t index, char decimal) const;
  // The rounded period as a double.
  double PeriodMs() const { return periodMs_; }

 private:
  int64_t mantissa_ = 0;  // period = mantissa × 10^exponent
  int exponent_ = 0;
  double periodMs_ = 0;
};

}  // namespace wyk
