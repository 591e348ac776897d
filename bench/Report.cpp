#include "Report.h"

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace bench {

double InChildProcess(const std::function<double()>& measure) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const double value = measure();
    [[maybe_unused]] const auto written = write(ends[1], &value, sizeof value);
    _exit(0);
  }
  double value = -1;
  [[maybe_unused]] const auto got = read(ends[0], &value, sizeof value);
  waitpid(child, nullptr, 0);
  close(ends[0]);
  close(ends[1]);
  return value;
}
namespace {

// Keeps the real time per iteration of every run, in nanoseconds, beside the console output.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Colour codes only on a terminal: piped, they would stick to the summary lines bench/run greps.
  CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}
  // Collects without printing anything.
  explicit CollectingReporter(std::ostream& discard) : ConsoleReporter(OO_None) {
    SetOutputStream(&discard);
    SetErrorStream(&discard);
  }

  std::map<std::string, double> nsPerIteration;

  // With repetitions the median of them stands for the benchmark; a single run stands for
  // itself.
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        nsPerIteration[name] = run.GetAdjustedRealTime() / NsMultiplier(run.time_unit);
        medians.insert(name);
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !medians.count(name)) {
        nsPerIteration[name] =
            run.real_accumulated_time / static_cast<double>(run.iterations) * 1e9;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  static double NsMultiplier(benchmark::TimeUnit unit) {
    return benchmark::GetTimeUnitMultiplier(unit) / 1e9;
  }
  std::set<std::string> medians;
};

double Scale(const std::string& unit) {
  if (unit == "us") return 1e-3;
  if (unit == "ms") return 1e-6;
  if (unit == "s") return 1e-9;
  return 1;
}

// Real time per iteration of the one benchmark called `name`, in ns (0 when it did not run).
double MeasureAlone(const std::string& name) {
  std::ostringstream discard;
  CollectingReporter quiet(discard);
  benchmark::RunSpecifiedBenchmarks(&quiet, "^" + name + "$");
  const auto it = quiet.nsPerIteration.find(name);
  return it == quiet.nsPerIteration.end() ? 0 : it->second;
}

// The speed of a shared machine drifts by tens of percent within a minute and other guests take
// it in bursts, so a ratio of two benchmarks measured a minute apart does not repeat. Each round
// measures the pair back to back (in turn which goes first); the comparison is the median of the
// rounds' ratios.
constexpr int kPairedRounds = 9;

double PairedRatio(const Comparison& c) {
  std::vector<double> ratios;
  for (int round = 0; round < kPairedRounds; ++round) {
    double ours, baseline;
    if (round % 2 == 0) {
      ours = MeasureAlone(c.ours);
      baseline = MeasureAlone(c.baseline);
    } else {
      baseline = MeasureAlone(c.baseline);
      ours = MeasureAlone(c.ours);
    }
    if (ours > 0 && baseline > 0) ratios.push_back(baseline / ours);
  }
  if (ratios.empty()) return 0;
  std::printf("rounds %s:", c.name.c_str());
  for (const double ratio : ratios) std::printf(" %.2f", ratio);
  std::printf("\n");
  std::sort(ratios.begin(), ratios.end());
  return ratios[ratios.size() / 2];
}

}  // namespace

int RunAndReport(int argc, char** argv, const std::vector<Comparison>& comparisons,
                 const std::vector<Figure>& figures) {
  benchmark::Initialize(&argc, argv);
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  int status = 0;
  const auto find = [&](const std::string& name) -> double {
    const auto it = reporter.nsPerIteration.find(name);
    if (it == reporter.nsPerIteration.end()) {
      std::fprintf(stderr, "no result for benchmark %s\n", name.c_str());
      status = 1;
      return 0;
    }
    return it->second;
  };
  for (const Comparison& c : comparisons) {
    if (find(c.ours) > 0 && find(c.baseline) > 0) {
      std::printf("compare %s %.2f\n", c.name.c_str(), PairedRatio(c));
      std::fflush(stdout);
    }
  }
  for (const Figure& f : figures)
    std::printf("figure %s %.3f %s\n", f.name.c_str(), find(f.benchmark) * Scale(f.unit),
                f.unit.c_str());
  benchmark::Shutdown();
  return status;
}

}  // namespace bench
