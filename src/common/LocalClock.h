#pragma once
// The wall clock as a date-time in local time.

#include "common/DateTime.h"

namespace wyk {

// The current local date and time, to the millisecond.
TDateTime LocalNow();

}  // namespace wyk
