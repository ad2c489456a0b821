#!/usr/bin/env bash
# Runs every benchmark program and the whole-process comparison, then writes
# docs/performance.md and docs/performance.png from their results.
# Usage: bench/run.sh [BUILD_DIR]   (`make bench` builds and runs it)
# REPETITIONS (default 5) and MIN_TIME (seconds, default 0.2) tune the runs.
# The repetitions of all steps run in a random order, so that each step's
# repetitions fall at different times of the run; the report takes the
# least of them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
results=$build/bench/results
mkdir -p "$results"
# The steps run with the heap in huge pages, as the designer runs a large
# form (app/HugePages.h); compare.sh runs the designer as a user does, and
# it chooses for itself.
tunables=${GLIBC_TUNABLES:-glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=33554432}
for program in bench_components bench_formfile bench_package; do
  echo "bench: $program"
  GLIBC_TUNABLES=$tunables "$build/bench/$program" \
    --benchmark_out="$results/$program.json" --benchmark_out_format=json \
    --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true \
    --benchmark_enable_random_interleaving=true \
    --benchmark_min_time="${MIN_TIME:-0.2}" >/dev/null
done
echo "bench: compare.sh"
bench/compare.sh "$build" "$results/compare.tsv"
/usr/bin/python3 bench/report.py "$results" docs
