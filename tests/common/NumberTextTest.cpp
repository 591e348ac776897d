#include "common/NumberText.h"

#include <gtest/gtest.h>

namespace wyk {
namespace {

TEST(NumberText, SignificantDigitsWithDecimalComma) {
  struct Case {
    double value;
    int digits;
    const char* text;
  };
  const Case cases[] = {
      {0.2f, 4, "0,2"},
      {0.5, 4, "0,5"},
      {1000, 4, "1000"},
      {10, 4, "10"},
      {0.1f, 15, "0,100000001490116"},  // a single-precision 0.1 widened
      {0.1f, 4, "0,1"},
      {50, 3, "50"},
      {-50, 3, "-50"},
      {-0.1, 3, "-0,1"},
      {0, 3, "0"},
      {7.45e-9, 3, "7,45E-9"},
      {12345, 4, "1,235E+4"},  // more integer digits than significant ones
      {9999.6, 4, "1E+4"},
      {999.96, 4, "1000"},
      {0.00001, 3, "0,00001"},
      {0.000123456, 3, "0,000123"},
      {112.5, 3, "113"},
      {1.0 / 3, 3, "0,333"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberText(c.value, c.digits), c.text) << c.value;
}

}  // namespace
}  // namespace wyk
