#pragma once
// Runs the registered benchmarks and prints the summary lines bench/run collects:
//   compare <name> <ratio>   baseline time / our time (12.5: ours is 12.5 times faster)
//   figure <name> <value> <unit>

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Comparison {
  std::string name;
  std::string ours;      // benchmark name
  std::string baseline;  // benchmark name
};

struct Figure {
  std::string name;
  std::string benchmark;  // its real time per iteration is reported
  std::string unit;       // "us" or "ns" or "ms"
};

// Runs `measure` in a fresh child process and returns what it measured (-1 when that failed),
// so a figure can include what a process pays once (kept tables, peak memory).
double InChildProcess(const std::function<double()>& measure);

int RunAndReport(int argc, char** argv, const std::vector<Comparison>& comparisons,
                 const std::vector<Figure>& figures);

}  // namespace bench
