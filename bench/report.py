#!/usr/bin/python3
"""Writes docs/performance.md and docs/performance.png from the results of
bench/run.sh: Google Benchmark's JSON of each program and compare.sh's table.

Usage: report.py RESULTS_DIR DOCS_DIR
"""
import csv
import json
import os
import platform
import subprocess
import sys
from pathlib import Path

# Each step and the floor it is measured against.
STEPS = {
    "Listing": ("FloorCopyNames", "the listing, GetFComponentList"),
    "ChangeBlock": ("FloorCopyNames", "Change, block mode (the first class's block)"),
    "ChangeSelection": ("FloorCopyNames", "Change, selection mode (every component row)"),
    "ApplyRenames": ("FloorCopyNames", "the apply step of Edit, N renames"),
    "FindComponent": ("FloorCopyNames", "FindComponent of every name"),
    "SetName": ("FloorCopyNames", "SetName of every component"),
    "ReadText": ("FloorReadLines", "reading: text into its tree"),
    "ReadForm": ("FloorReadLines", "reading: text into live components"),
    "WriteText": ("FloorCopyBytes", "writing: an unchanged tree into its text"),
    "WriteForm": ("FloorWriteBytes", "writing: components into text, saved"),
    "DestroyForm": (None, "destroying the form read (the designer's exit)"),
}
FLOORS = {
    "FloorCopyNames": "copying the N names into a string list",
    "FloorReadLines": "reading the file's bytes and splitting lines",
    "FloorCopyBytes": "copying the text's bytes into a new string",
    "FloorWriteBytes": "saving the bytes (temporary file, sync, rename)",
}
COMPLEXITY = {
    "Listing": "O(N): one pass groups the components by class name in a hash table",
    "ChangeBlock": "O(rows): the rows of the block are rewritten",
    "ChangeSelection": "O(rows): each row is tested for its selection mark once",
    "ApplyRenames": ("O(N): per renamed row one look-up and one index update; the look-ups "
                     "wait for memory as FindComponent's do, row after row in listing order"),
    "FindComponent": ("O(1) per look-up: flat hash table keyed by views of the names. A look-up "
                      "makes the same three loads at any N (control bytes, slot, the component's "
                      "name), but past 10,000 components the table (1 MB at 100,000) and the "
                      "components (25 MB) outgrow the processor's caches and each load waits for "
                      "memory: the time per look-up grows with N though the work does not"),
    "SetName": "O(1) per rename: the index entry is moved, nothing is scanned",
    "ReadText": "O(bytes)",
    "ReadForm": "O(bytes): reading, then one component per object",
    "WriteText": "O(bytes): unchanged nodes copy their bytes",
    "WriteForm": "O(bytes): each component's members made as the writer reaches it, then the save",
    "DestroyForm": "O(N): the owner drops its name index at once, then each component",
}
SIZES = [100, 1000, 10000, 100000]
CLASSES = [1, 20, 1000]


def load_runs(results):
    """{(name, N, T): run} from every JSON file, the least when repeated."""
    runs = {}
    for path in sorted(results.glob("*.json")):
        for b in json.loads(path.read_text())["benchmarks"]:
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "min":
                continue
            parts = b["run_name"].split("/")
            args = dict(p.split(":") for p in parts[1:] if ":" in p)
            key = (parts[0], int(args.get("N", 0)), int(args.get("T", 0)))
            runs[key] = b
    return runs


def seconds(run, time="real_time"):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
    return run[time] * scale


def per_component(run):
    return seconds(run) / run["components"]


def show_time(s):
    for unit, scale in (("s", 1), ("ms", 1e-3), ("µs", 1e-6)):
        if s >= scale:
            return f"{s / scale:.3g} {unit}"
    return f"{s / 1e-9:.3g} ns"


def ratio(runs, step, n, t):
    if step not in STEPS or not STEPS[step][0]:
        return None
    run, floor = runs.get((step, n, t)), runs.get((STEPS[step][0], n, t))
    if not run or not floor:
        return None
    return per_component(run) / per_component(floor)


def cell(runs, step, n, t):
    run = runs.get((step, n, t))
    if not run:
        return "–"
    r = ratio(runs, step, n, t)
    return f"{show_time(seconds(run))} (×{r:.1f})" if r else show_time(seconds(run))


def growth(runs, step, t=20):
    """Time per component at 100,000 over that at 1,000. Writing counts only
    its work beyond its floor's, in processor time: a small form's save is
    nearly all waiting for the disk, which varies from run to run by more
    than the work itself takes."""
    def cost(n):
        run = runs.get((step, n, t))
        if not run:
            return None
        floor = runs.get((STEPS[step][0], n, t)) if step in STEPS else None
        if floor and STEPS[step][0] == "FloorWriteBytes":
            work = seconds(run, "cpu_time") - seconds(floor, "cpu_time")
            return max(work, 0) / run["components"]
        return per_component(run)
    small, large = cost(1000), cost(100000)
    return large / small if small and large else None


def steps_table(runs):
    lines = ["| step | " + " | ".join(f"N = {n:,}" for n in SIZES) + " | per component, 100,000 ÷ 1,000 |",
             "|---" * (len(SIZES) + 2) + "|"]
    for step in list(STEPS) + list(FLOORS):
        label = STEPS[step][1] if step in STEPS else "floor: " + FLOORS[step]
        g = growth(runs, step)
        shown = f"{g:.2f}x" if g else "–"
        lines.append(f"| {label} | " + " | ".join(cell(runs, step, n, 20) for n in SIZES) + f" | {shown} |")
    return "\n".join(lines)


def classes_table(runs, n=100000):
    lines = ["| step | " + " | ".join(f"T = {t:,}" for t in CLASSES) + " |",
             "|---" * (len(CLASSES) + 1) + "|"]
    for step in STEPS:
        lines.append(f"| {STEPS[step][1]} | " + " | ".join(cell(runs, step, n, t) for t in CLASSES) + " |")
    return "\n".join(lines)


def rates_table(runs, n=100000, t=20):
    lines = ["| step | MB/s | floor MB/s |", "|---|---|---|"]
    for step in ("ReadText", "ReadForm", "WriteText", "WriteForm"):
        run, floor = runs.get((step, n, t)), runs.get((STEPS[step][0], n, t))
        if run and floor:
            mbs = lambda r: r["bytes"] / seconds(r) / 1e6
            lines.append(f"| {STEPS[step][1]} | {mbs(run):.0f} | {mbs(floor):.0f} |")
    return "\n".join(lines)


def load_compare(results):
    path = results / "compare.tsv"
    if not path.exists():
        return {}
    rows = {}
    with path.open() as f:
        for r in csv.DictReader(f, delimiter="\t"):
            rows[(int(r["components"]), r["command"])] = r
    return rows


def compare_table(compare):
    lines = ["| N | file | designer list | wc -l | designer rename | rename ÷ list | sed | "
             "peak memory list / rename | limit (4 × file + 20 MB) |", "|---" * 9 + "|"]
    for n in sorted({n for n, c in compare if c == "designer list"}):
        get = lambda c: compare[(n, c)]
        ms = lambda c: float(get(c)["wall_ms"])
        mb = lambda c: int(get(c)["peak_kb"]) / 1024
        size = int(get("designer list")["bytes"]) / 2**20
        lines.append(
            f"| {n:,} | {size:.2f} MB | {ms('designer list'):.0f} ms | {ms('wc -l'):.0f} ms | "
            f"{ms('designer rename'):.0f} ms | {ms('designer rename') / ms('designer list'):.2f} | "
            f"{ms('sed'):.0f} ms | {mb('designer list'):.0f} / {mb('designer rename'):.0f} MB | "
            f"{4 * size + 20:.0f} MB |")
    return "\n".join(lines)


SAVED = ("designer list, saved once", "designer rename, saved once")


def saved_table(compare):
    ns = sorted({n for n, c in compare if c == SAVED[0]})
    if not ns:
        return ""
    lines = ["| N | file | designer list | designer rename | rename ÷ list | "
             "peak memory list / rename | limit (4 × file + 20 MB) |", "|---" * 7 + "|"]
    for n in ns:
        ms = [float(compare[(n, c)]["wall_ms"]) for c in SAVED]
        mb = [int(compare[(n, c)]["peak_kb"]) / 1024 for c in SAVED]
        size = int(compare[(n, SAVED[0])]["bytes"]) / 2**20
        lines.append(f"| {n:,} | {size:.2f} MB | {ms[0]:.0f} ms | {ms[1]:.0f} ms | "
                     f"{ms[1] / ms[0]:.2f} | {mb[0]:.0f} / {mb[1]:.0f} MB | {4 * size + 20:.0f} MB |")
    return "\n".join(lines)


def split_table(runs, compare, n=100000, t=20):
    """Where the whole process's time goes, from the steps measured alone."""
    get = lambda s: seconds(runs[(s, n, t)]) if (s, n, t) in runs else None
    form, listing, write, destroy = (
        get(s) for s in ("ReadForm", "Listing", "WriteForm", "DestroyForm"))
    if None in (form, listing, write, destroy) or (n, "designer list") not in compare:
        return ""
    total = float(compare[(n, "designer list")]["wall_ms"]) / 1000
    # The designer reads the text straight into components, object by object.
    parts = [("reading the text into live components", form),
             ("the listing", listing),
             ("exit: destroying the form", destroy)]
    rest = total - sum(p for _, p in parts)
    lines = [f"Each part measured alone at N = {n:,}, T = {t}, against the whole process's "
             "wall time:", "",
             "| part of `designer list` | time | share |", "|---|---|---|"]
    # On a shared machine the parts and the whole are measured minutes apart;
    # parts that add up to more than the whole say the machine was busier
    # while they ran, and no rest is shown.
    if rest >= 0:
        parts.append(("the rest: start, package, reading the listing, printing", rest))
    for label, s in parts:
        lines.append(f"| {label} | {show_time(s)} | {100 * s / total:.0f}% |")
    lines.append(f"| `designer rename` adds writing the form | {show_time(write)} | |")
    if rest < 0:
        lines += ["", "The parts add up to more than the whole process: the machine was busier "
                  "while they were measured than during the comparison."]
    return "\n".join(lines)


def targets(runs, compare):
    out = []
    def check(text, ok):
        out.append(f"- {'met' if ok else '**not met**'}: {text}")
    if (100000, "designer list") in compare:
        lst = float(compare[(100000, "designer list")]["wall_ms"])
        ren = float(compare[(100000, "designer rename")]["wall_ms"])
        check(f"`designer list` on 100,000 components under 150 ms: {lst:.0f} ms", lst < 150)
        check(f"`designer rename` at most 1.3 × list: {ren / lst:.2f}", ren <= 1.3 * lst)
    # Peak memory of each command, on the generated form and on it saved once.
    for command in ("designer list", "designer rename") + SAVED:
        if (100000, command) in compare:
            row = compare[(100000, command)]
            size = int(row["bytes"]) / 2**20
            peak = int(row["peak_kb"]) / 1024
            check(f"`{command}` peak memory at most 4 × file + 20 MB = {4 * size + 20:.1f} MB: "
                  f"{peak:.1f} MB", peak <= 4 * size + 20)
    for step, least in (("ReadText", 150), ("WriteText", 500)):
        run = runs.get((step, 100000, 20))
        if run:
            mbs = run["bytes"] / seconds(run) / 1e6
            check(f"{STEPS[step][1]} at least {least} MB/s: {mbs:.0f} MB/s", mbs >= least)
    for step in STEPS:
        if not (runs.get((step, 1000, 20)) and runs.get((step, 100000, 20))):
            continue
        g = growth(runs, step)
        text = f"{STEPS[step][1]}: time per component from 1,000 to 100,000 within 1.5x"
        if g:
            check(f"{text}: {g:.2f}x", g <= 1.5)
        else:
            check(f"{text}: not measurable, no more than its floor at 1,000", False)
    pkg = runs.get(("PackageLoadUnload", 0, 0))
    if pkg:
        check(f"package load plus unload under 5 ms: {show_time(seconds(pkg))}", seconds(pkg) < 5e-3)
    return "\n".join(out)


def plot(runs, png):
    """Log-log time against N at T = 20, one line per step, floors dashed."""
    data = png.with_suffix(".dat")
    names = list(STEPS) + list(FLOORS)
    with data.open("w") as f:
        for step in names:
            for n in SIZES:
                if (step, n, 20) in runs:
                    f.write(f"{n} {seconds(runs[(step, n, 20)])}\n")
            f.write("\n\n")
    plots = ", ".join(
        f"'{data}' index {i} with linespoints title '{step}'" + (" dashtype 2" if step in FLOORS else "")
        for i, step in enumerate(names))
    script = f"""set terminal pngcairo size 1000,650 font ',10'
set output '{png}'
set logscale xy
set format x '10^{{%L}}'
set format y '10^{{%L}}'
set xlabel 'components N (T = 20 classes)'
set ylabel 'time per call (s)'
set key outside right
set grid
plot {plots}
"""
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    data.unlink()


def machine():
    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
    mem = next((int(l.split()[1]) // 1024 for l in open("/proc/meminfo") if l.startswith("MemTotal")), 0)
    load = os.getloadavg()[0]
    cxx = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    return (f"{cpu}, {os.cpu_count()} cores, {mem:,} MB memory; Linux {platform.release()}; {cxx}; "
            f"build type RelWithDebInfo. Load average when the report was written: {load:.1f}.")


def main():
    results, docs = Path(sys.argv[1]), Path(sys.argv[2])
    runs, compare = load_runs(results), load_compare(results)
    png = docs / "performance.png"
    plot(runs, png)
    pkg, dl = runs.get(("PackageLoadUnload", 0, 0)), runs.get(("FloorDlopen", 0, 0))
    package = (f"Loading and unloading the package: {show_time(seconds(pkg))}, against "
               f"{show_time(seconds(dl))} for opening and closing its shared object "
               f"(×{seconds(pkg) / seconds(dl):.1f})." if pkg and dl else "")
    complexity = "\n".join(f"- {STEPS[s][1]}: {c}" for s, c in COMPLEXITY.items())
    text = f"""# Performance

Generated by `make bench` (bench/run.sh, then bench/report.py); do not edit
by hand. Forms: N components C0, C1, … spread over T classes, two properties
each, and a namer (bench/GeneratedForm.cpp). Times are the least wall-clock
time of {os.environ.get('REPETITIONS', '5')} repetitions, run interleaved with the other steps' (on
a shared machine others' work only adds time). Each step is also given as a
ratio to its floor, measured in the same run: time per component of the step
÷ time per component of the floor.

## Targets

{targets(runs, compare)}

## The designer as a whole process

`bench/compare.sh`: least wall time of {os.environ.get('RUNS', '9')} runs, taken in rounds over all
commands, and peak resident memory
(`/usr/bin/time -v`), on forms of 20 classes. `designer rename` renames the
block of TButton (N ÷ 20 components) and writes the form; `sed` substitutes
the same names in one pass; `wc -l` reads the file once.

{compare_table(compare)}

The same form once the designer has saved it: the rename above, written
back, adds the namer's listing to the file (one row per component). Here
`designer rename` renames the same block again, to Key1, Key2, …

{saved_table(compare)}

{split_table(runs, compare)}

## Steps in one process, T = 20 classes

Time per call, and in brackets the ratio to the floor.

{steps_table(runs)}

![time against N](performance.png)

## The number of classes, N = 100,000

{classes_table(runs)}

## Reading and writing, N = 100,000, T = 20

{rates_table(runs)}

## Package

{package}

## Complexity

{complexity}
- package load plus unload: constant, independent of any form

## Machine

{machine()}
Debian's Google Benchmark library warns that it was built for debugging;
that concerns the harness's own bookkeeping, not the code measured.

## Reproduce

```
make bench                         # builds, runs everything, rewrites this page
REPETITIONS=9 MIN_TIME=0.5 make bench   # steadier numbers, slower
bench/compare.sh build             # the whole-process table alone
build/bench/bench_components --benchmark_filter=Listing
```
"""
    (docs / "performance.md").write_text(text)


if __name__ == "__main__":
    main()
