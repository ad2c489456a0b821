#!/usr/bin/env bash
# Runs each fuzz target of a clang build made with -DFUZZ=ON for a number of
# seconds, starting from the seed corpora, then replays every crash fixture
# under tests/fuzz/<target>/. Prints executions per target; fails on a crash.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail

build=$(realpath "$1")
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seed corpora: the forms and scripts of the tests and examples, and for the
# whole rename each form with each script, joined by a line "%%".
seed() { mkdir -p "$work/$1" && cp "${@:2}" "$work/$1/"; }
forms=("$root"/tests/data/*.form "$root"/examples/*.form)
scripts=("$root"/examples/*.script "$root"/fuzz/seeds/*.script)
seed form_round_trip "${forms[@]}"
seed script_reader "${scripts[@]}"
mkdir -p "$work/rename_flow"
for f in "${forms[@]}"; do
  for s in "${scripts[@]}"; do
    { cat "$f"; printf '\n%%%%\n'; cat "$s"; } >"$work/rename_flow/$(basename "$f")-$(basename "$s")"
  done
done

status=0
for target in form_round_trip script_reader rename_flow; do
  binary="$build/fuzz/fuzz_$target"
  fixtures=("$root/tests/fuzz/$target"/*)
  if [ -e "${fixtures[0]}" ]; then
    "$binary" "${fixtures[@]}" >"$work/$target.replay" 2>&1 ||
      { cat "$work/$target.replay"; echo "fuzz: $target: a crash fixture fails again"; status=1; }
  fi
  if "$binary" -max_total_time="$seconds" -timeout=10 -dict="$root/fuzz/tokens.dict" \
      -artifact_prefix="$work/$target-" -print_final_stats=1 "$work/$target" \
      >"$work/$target.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
    echo "fuzz: $target: $runs executions in $seconds s, no crash"
  else
    tail -n 40 "$work/$target.log"
    for artifact in "$work/$target"-*; do
      mkdir -p "$root/tests/fuzz/$target"
      cp "$artifact" "$root/tests/fuzz/$target/"
      echo "fuzz: $target: crash input kept as tests/fuzz/$target/$(basename "$artifact")"
    done
    status=1
  fi
done
exit $status
