#!/usr/bin/env bash
# The designer as a whole process against the tools a user would reach for
# on the same file: `designer list` against `wc -l`, `designer rename` of one
# class's block against a `sed` substitution of the same names. Wall time
# (median of RUNS) and peak memory (/usr/bin/time -v) at N = 1,000, 10,000
# and 100,000 components of 20 classes; then both designer commands again on
# the form as the designer saved it once, which also holds the namer's
# listing (every form the designer has saved looks like this).
#
# Usage: bench/compare.sh [BUILD_DIR] [OUTPUT.tsv]   (make bench runs it)
set -euo pipefail

build=${1:-build}
out=${2:-/dev/stdout}
runs=${RUNS:-5}
designer=$build/packages/designer
make_form=$build/bench/make_form
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the command RUNS times; prints the median wall time in milliseconds
# and the largest peak resident memory in kilobytes.
measure() {
  local times=() peak=0 start end kb
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    /usr/bin/time -v -o "$work/time" "$@" >"$work/stdout"
    end=$EPOCHREALTIME
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.3f", (b - a) * 1000}')")
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
    ((kb > peak)) && peak=$kb
  done
  printf '%s\t%s\n' "$(printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]}')" "$peak"
}

{
  printf 'components\tbytes\tcommand\twall_ms\tpeak_kb\n'
  for n in 1000 10000 100000; do
    form=$work/form-$n.form
    "$make_form" "$n" 20 "$form"
    bytes=$(stat -c %s "$form")
    row() { printf '%s\t%s\t%s\t%s\n' "$n" "$bytes" "$1" "$(measure "${@:2}")"; }
    row "designer list" "$designer" list "$form"
    row "wc -l" wc -l "$form"
    row "designer rename" "$designer" rename "$form" --type TButton --base Btn --output "$work/out.form"
    row "sed" sed -E 's/^(  object )C([0-9]+): TButton$/\1Btn\2: TButton/' "$form"
    saved=$work/saved-$n.form
    "$designer" rename "$form" --type TButton --base Btn --output "$saved" >/dev/null
    bytes=$(stat -c %s "$saved")
    row "designer list, saved once" "$designer" list "$saved"
    row "designer rename, saved once" "$designer" rename "$saved" --type TButton --base Key \
      --output "$work/out.form"
  done
} >"$out"
