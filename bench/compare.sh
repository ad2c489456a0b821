#!/usr/bin/env bash
# The designer as a whole process against the tools a user would reach for
# on the same file: `designer list` against `wc -l`, `designer rename` of one
# class's block against a `sed` substitution of the same names. Wall time
# (the least of RUNS) and peak memory (/usr/bin/time -v) at N = 1,000, 10,000
# and 100,000 components of 20 classes; then both designer commands again on
# the form as the designer saved it once, which also holds the namer's
# listing (every form the designer has saved looks like this).
#
# Usage: bench/compare.sh [BUILD_DIR] [OUTPUT.tsv]   (make bench runs it)
set -euo pipefail

build=${1:-build}
out=${2:-/dev/stdout}
runs=${RUNS:-9}
designer=$build/packages/designer
make_form=$build/bench/make_form
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every command once per round, RUNS rounds, so that each command's runs
# fall at different times of the comparison: on a shared machine others'
# work only adds time, and the least wall time of a command's runs is kept,
# with the largest of their peak memories.
labels=() commands=()
add() {
  labels+=("$1"$'\t'"$2"$'\t'"$3")
  commands+=("$(printf '%q ' "${@:4}")")
}

for n in 1000 10000 100000; do
  form=$work/form-$n.form
  "$make_form" "$n" 20 "$form"
  bytes=$(stat -c %s "$form")
  add "$n" "$bytes" "designer list" "$designer" list "$form"
  add "$n" "$bytes" "wc -l" wc -l "$form"
  add "$n" "$bytes" "designer rename" "$designer" rename "$form" --type TButton --base Btn \
    --output "$work/out.form"
  add "$n" "$bytes" "sed" sed -E 's/^(  object )C([0-9]+): TButton$/\1Btn\2: TButton/' "$form"
  saved=$work/saved-$n.form
  "$designer" rename "$form" --type TButton --base Btn --output "$saved" >/dev/null
  bytes=$(stat -c %s "$saved")
  add "$n" "$bytes" "designer list, saved once" "$designer" list "$saved"
  add "$n" "$bytes" "designer rename, saved once" "$designer" rename "$saved" --type TButton \
    --base Key --output "$work/out.form"
done

best=() peak=()
for ((round = 0; round < runs; round++)); do
  for i in "${!commands[@]}"; do
    start=$EPOCHREALTIME
    eval "/usr/bin/time -v -o \"\$work/time\" ${commands[i]}" >"$work/stdout"
    end=$EPOCHREALTIME
    ms=$(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.3f", (b - a) * 1000}')
    kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
    if [ -z "${best[i]:-}" ] || awk -v a="$ms" -v b="${best[i]}" 'BEGIN {exit !(a < b)}'; then
      best[i]=$ms
    fi
    ((kb > ${peak[i]:-0})) && peak[i]=$kb
  done
done

{
  printf 'components\tbytes\tcommand\twall_ms\tpeak_kb\n'
  for i in "${!commands[@]}"; do
    printf '%s\t%.1f\t%s\n' "${labels[i]}" "${best[i]}" "${peak[i]}"
  done
} >"$out"
