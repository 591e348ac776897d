#include "Report.h"

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <set>

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

}  // namespace

int RunAndReport(int argc, char** argv, const std::vector<Comparison>& comparisons,
                 const std::vector<Figure>& figures) {
  benchmark::Initialize(&argc, argv);
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
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
    const double ours = find(c.ours), baseline = find(c.baseline);
    if (ours > 0) std::printf("compare %s %.2f\n", c.name.c_str(), baseline / ours);
  }
  for (const Figure& f : figures)
    std::printf("figure %s %.3f %s\n", f.name.c_str(), find(f.benchmark) * Scale(f.unit),
                f.unit.c_str());
  return status;
}

}  // namespace bench
