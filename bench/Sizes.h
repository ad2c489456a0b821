#pragma once
// The sizes every benchmark runs at: N components from 100 to 100,000, over
// T classes from 1 to 1,000 (never more classes than components). Each run
// is named Step/N/T, which report.py reads back, and its repetitions are
// summed up by their least.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace bench {

// The least of the repetitions: on a shared machine others' work only ever
// adds time, so the fastest repetition is the closest to the code's own cost.
inline void LeastOfRepetitions(benchmark::internal::Benchmark* b) {
  b->ComputeStatistics(
      "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

inline void FormSizes(benchmark::internal::Benchmark* b) {
  LeastOfRepetitions(b);
  for (int n : {100, 1000, 10000, 100000})
    for (int t : {1, 20, 1000})
      if (t <= n) b->Args({n, t});
  b->ArgNames({"N", "T"});
}

inline int Components(const benchmark::State& state) { return static_cast<int>(state.range(0)); }
inline int Classes(const benchmark::State& state) { return static_cast<int>(state.range(1)); }

// Per component, so that linear growth shows as a flat rate.
// The count is kept as a counter too, for report.py's times per component.
inline void CountComponents(benchmark::State& state, int perIteration) {
  state.SetItemsProcessed(state.iterations() * perIteration);
  state.counters["components"] = perIteration;
}

}  // namespace bench
