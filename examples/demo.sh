#!/usr/bin/env bash
# The main job, on a copy of the example form in a temporary folder: the
# palette, the form's listing, a scripted rename, and the listing again.
# Usage: examples/demo.sh PATH-TO-DESIGNER
set -euo pipefail

designer=$(realpath "$1")
examples=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/order.form" "$examples/rename.script" "$work/"
cd "$work"

run() {
  printf '\n$ designer %s\n' "$*"
  "$designer" "$@"
}

run palette
run list order.form
printf '\n$ cat rename.script\n'
cat rename.script
run rename order.form --script rename.script
run list order.form
