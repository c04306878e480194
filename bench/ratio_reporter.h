// What every benchmark of this folder shares: its result is a ratio against a baseline
// measured in the same run, printed after the runs from the times RatioReporter kept.
#ifndef BENCH_RATIO_REPORTER_H_
#define BENCH_RATIO_REPORTER_H_

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace twiqbench {

// Keeps each benchmark's time per iteration (the median when repeated, else the single run)
// by its name with arguments ("BM_ViewPage_Driver/1000/0"), and prints the runs as the
// console reporter does.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || (run.run_type == Run::RT_Iteration && run.repetitions <= 1)) {
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Zero times for a benchmark that did not run (filtered out, or failed).
  Times Time(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? Times{} : it->second;
  }

 private:
  std::map<std::string, Times> times_;
};

// Runs the benchmarks named on the command line (all by default) into `reporter`, with the
// repetitions of different benchmarks interleaved, so that a change in the machine's load
// weighs on all alike; a flag given on the command line still wins. False when the command
// line has arguments Google Benchmark does not know.
inline bool RunInterleaved(int argc, char** argv, RatioReporter& reporter) {
  std::vector<char*> args(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return false;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return true;
}

}  // namespace twiqbench

#endif  // BENCH_RATIO_REPORTER_H_
