#pragma once
// Runs the registered benchmarks and prints the summary lines bench/run collects:
//   compare <name> <ratio>   baseline time / our time (12.5: ours is 12.5 times faster)
//   figure <name> <value> <unit>

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

int RunAndReport(int argc, char** argv, const std::vector<Comparison>& comparisons,
                 const std::vector<Figure>& figures);

}  // namespace bench
