#include "controls/SpinEdit.h"

#include <algorithm>
#include <limits>

namespace wyk {

SpinEdit::SpinEdit(QWidget* parent, int low, int high) : QSpinBox(parent), low_(low), high_(high) {
  setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

void SpinEdit::stepBy(int steps) {
  setValue(static_cast<int>(
      std::clamp<long long>(static_cast<long long>(value()) + steps, low_, high_)));
  selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < high_) enabled |= StepUpEnabled;
  if (value() > low_) enabled |= StepDownEnabled;
  return enabled;
}

}  // namespace wyk
