#include <gtest/gtest.h>

#include "view/CursorTexts.h"

namespace wyk {
namespace {

TEST(CursorTexts, ValueOfALevelAndTheLevelOfAStoredByte) {
  const struct {
    int32_t level;
    float voltsPerDiv;
    const char* unit;
    const char* expected;
  } cases[] = {
      {25, 0.1f, "V", "0,100000001490116V"},  // the single-precision 0.1 shows through
      // The extended product's digits, not those of the product rounded to double.
      {1, 0.1f, "V", "0,00400000005960464V"},
      {190, 0.2f, "V", "1,52000002264977V"},
      {125, 10.0f, "mV", "50mV"},
      {250, 0.5f, "V", "5V"},
      {0, 2.0f, "V", "0V"},
      {-75, 10.0f, "mV", "-30mV"},  // an A-B difference
  };
  for (const auto& c : cases)
    EXPECT_EQ(LevelValueText(c.level, c.voltsPerDiv, c.unit), c.expected) << c.level;
  const int32_t levels[][2] = {{0, 0}, {1, 1}, {250, 250}, {251, 250}, {255, 250}};
  for (const auto& l : levels) EXPECT_EQ(PlotLevel(l[0]), l[1]) << l[0];
}

}  // namespace
}  // namespace wyk
