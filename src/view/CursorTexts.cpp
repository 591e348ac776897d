#include "view/CursorTexts.h"

#include "common/NumberText.h"

namespace wyk {

long double LevelValue(int32_t level, float voltsPerDiv) {
  return FractionalLevelValue(level, voltsPerDiv);
}

long double FractionalLevelValue(long double level, float voltsPerDiv) {
  return level * voltsPerDiv * 0.04L;
}

std::string LevelValueNumber(int32_t level, float voltsPerDiv) {
  return NumberText(LevelValue(level, voltsPerDiv), 15);
}

std::string LevelValueText(int32_t level, float voltsPerDiv, const std::string& unit) {
  return LevelValueNumber(level, voltsPerDiv) + unit;
}

}  // namespace wyk
