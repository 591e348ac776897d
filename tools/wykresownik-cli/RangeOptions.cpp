#include "RangeOptions.h"

#include <algorithm>
#include <cstdio>

#include "Command.h"

namespace wyk::cli {

SampleRange RangeOf(const Arguments& arguments, int64_t sampleCount) {
  SampleRange range;
  range.from = std::min(arguments.Integer("from", 0, 0, INT64_MAX), sampleCount);
  range.to = std::min(arguments.Integer("to", sampleCount, 0, INT64_MAX), sampleCount);
  if (range.from > range.to) throw CliError(kBadUsage, "--from leży za --to");
  return range;
}

void WarnIfToBeyondEnd(const Arguments& arguments, const char* command, int32_t sampleCount,
                       const SampleRange& range, const char* done) {
  if (arguments.Integer("to", 0, 0, INT64_MAX) > sampleCount)
    std::fprintf(stderr,
                 "wykresownik-cli %s: --to leży za końcem nagrania (%d próbek); "
                 "%s %lld próbek\n",
                 command, sampleCount, done, static_cast<long long>(range.to - range.from));
}

}  // namespace wyk::cli
