// The cost of one pass of the mirror run over its log, by log size: reading the whole log
// (SummarizeLog of all bytes) against the follower, which decodes only what was appended since
// the previous pass (here 1 KiB). File reading is left out: both read through the same calls.
#include "bench/BenchLog.h"
#include "ui/pure/LogFollower.h"
#include "ui/pure/LogText.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {
constexpr size_t kAppended = 1024;
constexpr int64_t kLargest = 5 << 20;
constexpr int64_t kLogSizes[] = {1 << 10,   4 << 10, 16 << 10, 64 << 10,
                                 256 << 10, 1 << 20, kLargest};

// The system's ANSI code page stands in as Latin-1: every byte is the code unit of its value.
TAnsiDecoder Latin1() {
  TAnsiDecoder decoder;
  decoder.Decode = [](std::string_view bytes) {
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    return std::wstring(begin, begin + bytes.size());
  };
  return decoder;
}

void WholeLogPass(benchmark::State& state) {
  const std::string log = MakeBenchLog(static_cast<size_t>(state.range(0)), state.range(1) != 0);
  const TAnsiDecoder ansi = Latin1();
  for (auto _ : state)
    benchmark::DoNotOptimize(SummarizeLog(log, ansi));
}

void IncrementalPass(benchmark::State& state) {
  const bool utf16 = state.range(1) != 0;
  TLogFollower follower(Latin1());
  follower.Feed(MakeBenchLog(static_cast<size_t>(state.range(0)), utf16));
  const std::string appended = BenchLogAppendix(kAppended, utf16);
  for (auto _ : state) {
    follower.Feed(appended);
    benchmark::DoNotOptimize(follower.Summary());
  }
}

void LogSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"bytes", "utf16"})->Unit(benchmark::kMicrosecond);
  for (const int utf16 : {1, 0})
    for (const int64_t size : kLogSizes)
      b->Args({size, utf16});
}
BENCHMARK(WholeLogPass)->Apply(LogSizes);
BENCHMARK(IncrementalPass)->Apply(LogSizes);

// The console table, and the CPU time of each run kept for the ratio at the end (CPU time, as
// the machine may be shared).
class TRatioReporter : public benchmark::ConsoleReporter {
public:
  TRatioReporter() : ConsoleReporter(OO_Tabular) {} // no colours: the script prints the tables
  std::map<std::string, double> Times;              // name -> CPU time per pass, microseconds

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        Times[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};
} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nA pass that finds 1 KiB appended to a 5 MiB log, against a whole-log pass "
              "(goal: at most 1 %%)\n");
  std::printf("%-8s %14s %14s %10s  %s\n", "log", "whole CPU us", "incr. CPU us", "ratio", "goal");
  for (const int utf16 : {1, 0}) {
    const std::string args =
        "/bytes:" + std::to_string(kLargest) + "/utf16:" + std::to_string(utf16);
    const auto whole = reporter.Times.find("WholeLogPass" + args);
    const auto incremental = reporter.Times.find("IncrementalPass" + args);
    if (whole == reporter.Times.end() || incremental == reporter.Times.end()) continue;
    const double ratio = 100.0 * incremental->second / whole->second;
    std::printf("%-8s %14.1f %14.2f %9.3f%%  %s\n", utf16 ? "UTF-16" : "8-bit", whole->second,
                incremental->second, ratio, ratio <= 1.0 ? "met" : "not met");
  }
  return 0;
}
