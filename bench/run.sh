#!/usr/bin/env bash
# Builds the benchmarks (Release), runs them and writes the table of bench/README.md (between its
# markers): each workload's CPU time (the median of three runs where they are short), its
# reference measured in the same run, their ratio and whether the two did the same work. Every
# run's results are kept as JSON in the build directory; given the results of an earlier run (of
# older code, say), the table shows them as "before".
#
# Usage: bench/run.sh [build-dir [before.json]]
#   build-dir    default build-release (configured and built here, Release)
#   before.json  bench-results.json of an earlier run: adds a "before" column
# A program that fails, crashes or runs past its time limit leaves "-" in its rows; the table is
# written all the same. The whole run takes one to three minutes.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-release"}
before=${2:-}
programs=(CommandBench ExecuteBench GraphClickWindowBench EvaluateBench)
# The short benchmarks run three times and report the median; Execute's long sheets once.
declare -A repeat=([CommandBench]=3 [GraphClickWindowBench]=3 [EvaluateBench]=3 [ExecuteBench]=1)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null || exit 1

results="$build/bench-results"
mkdir -p "$results"
for b in "${programs[@]}"; do
  rm -f "$results/$b.json"
  if ! cmake --build "$build" -j4 --target "$b" >"$results/$b.log" 2>&1; then
    echo "$b did not build (see $results/$b.log)" >&2
    continue
  fi
  # Each benchmark runs for at least 0.2 s of measured time (one run of the longest ones).
  QT_QPA_PLATFORM=offscreen timeout 300 "$build/bench/$b" --benchmark_min_time=0.2 \
    --benchmark_repetitions="${repeat[$b]}" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$b.json" --benchmark_out_format=json >/dev/null 2>>"$results/$b.log" ||
    echo "$b did not finish (see $results/$b.log)" >&2
done

table=$(mktemp)
python3 - "$results" "$before" >"$table" <<'PY' || exit 1
import json, os, sys

results_dir, before_path = sys.argv[1], sys.argv[2]

def load(paths):
    runs = {}
    for path in paths:
        try:
            with open(path) as f:
                data = json.load(f)
        except (OSError, ValueError):
            continue
        for b in data.get("benchmarks", []):
            # Of repeated runs the median stands for the benchmark; a failed one has no aggregates.
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            name = b.get("run_name", b["name"]).split("/iterations:")[0]
            runs[name] = b
    return runs

now = load(os.path.join(results_dir, f) for f in sorted(os.listdir(results_dir)) if f.endswith(".json"))
# A combined file written by this script, or a directory of the programs' own files.
if before_path and os.path.isdir(before_path):
    then = load(os.path.join(before_path, f) for f in os.listdir(before_path) if f.endswith(".json"))
else:
    then = load([before_path]) if before_path else {}
with open(os.path.join(results_dir, "..", "bench-results.json"), "w") as f:
    json.dump({"benchmarks": list(now.values())}, f, indent=1)

SCALE = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

def ms(runs, name):
    """CPU time of one run of the workload in ms; None when it did not run or failed."""
    b = runs.get(name)
    if b is None or b.get("error_occurred"):
        return None
    return b["cpu_time"] * SCALE[b["time_unit"]]

def fmt(v, unit="ms"):
    if v is None:
        return "-"
    if unit == "ns":
        v *= 1e6
    return f"{v:.3f}" if v < 1 else f"{v:.1f}" if v < 100 else f"{v:,.0f}"

def shown(runs, name, unit="ms"):
    b = runs.get(name)
    if b is not None and b.get("error_occurred"):
        return "failed: " + b.get("error_message", "").replace("|", "/")
    return fmt(ms(runs, name), unit)

def counter(name, key):
    b = now.get(name)
    return None if b is None or b.get("error_occurred") else b.get(key)

def ratio(a, b):
    return "-" if a is None or b is None or b == 0 else f"{a / b:.2f}"

def same_counts(a, b, key, what):
    x, y = counter(a, key), counter(b, key)
    if x is None or y is None:
        return "-"
    return f"yes: {x:,.0f} {what} both" if x == y else f"no: {x:,.0f} and {y:,.0f} {what}"

rows = []
def row(workload, name, ref_label="", ref=None, same="", goal="", unit="ms", ref_unit=None):
    ref_unit = ref_unit or unit
    t = ms(now, name)
    r = ms(now, ref) if ref else None
    cells = [workload]
    if then:
        cells.append(shown(then, name, unit))
    cells += [shown(now, name, unit),
              (ref_label + " " + shown(now, ref, ref_unit)).strip() if ref else ref_label,
              ratio(t, r) if ref else "", same, goal]
    rows.append(cells)

dbl = "same composite Simpson rule at the same nodes: F at {0}² points, C and D at {1}"
def same_ivp(a, b):
    steps, values = same_counts(a, b, "steps", "steps"), same_counts(a, b, "values", "values")
    if steps.startswith("yes") and values.startswith("yes"):
        return steps[:-5] + "," + values[4:]
    return steps + "; " + values

for eq in (1, 2, 3, 4):
    name = f"BM_Ivp{eq}Equation" + ("s" if eq > 1 else "")
    ref = f"BM_Reference_Ivp{eq}GslRkf45Muparser"
    row(f"IVP, {eq} equation{'s' if eq > 1 else ''}, t 0–200, tol 1e-6, factor 10 (ms)", name,
        "GSL rkf45 + muparser", ref, same_ivp(name, ref), "≤ 2 × reference")
for n in (50, 200, 800):
    row(f"dblInt {n}×{n} of x*y+Sin[x*y] (ms)", f"BM_DblInt{n}", "muparser",
        f"BM_Reference_DblInt{n}Muparser", "yes: " + dbl.format(f"{n + 1:,}", n + 1),
        "≤ 2 × reference")
row("contour x²+y², 16 levels, tolerance 0.01, segment 0.1 (ms)", "BM_ContourSquares", goal="< 60")
row("contour Sin[x]*Cos[y], 19 levels, tolerance 0.01, segment 0.1 (ms)", "BM_ContourSinCos",
    goal="< 60")
row("BVP secant shooting, t to 3 (ms)", "BM_BvpSecant", goal="< 10")
row("slope field 12×8 (ms)", "BM_SlopeField", goal="< 15")
row("direction field 15×15 (ms)", "BM_DirField", goal="< 15")
row("3-D field 7×7×7 (ms)", "BM_Field3D", goal="< 15")

for what, label in (("Plot", "Plot[ helix, 5,000 steps"), ("Contour", "contour x²+y², 16 levels"),
                    ("DirField", "direction field 15×15")):
    row(f"Graph click: {label} (ms)", f"BM_GraphClick_{what}", "build alone",
        f"BM_GraphAlone_{what}",
        same_counts(f"BM_GraphClick_{what}", f"BM_GraphAlone_{what}", "segments", "segments"),
        "≤ 1.5 × build alone")
row("Plot[ helix alone, 5,000 steps (ms)", "BM_GraphAlone_Plot", "muparser",
    "BM_Reference_PlotMuparser", "yes: 3 components at the same 5,002 points", "≤ 1.2 × muparser")

for n in (10, 100, 200, 400):
    first = f"BM_ExecuteGrowthFirst/{n}"
    # Linear growth from the 10-statement sheet: n / 10 times its time.
    base = ms(now, "BM_ExecuteGrowthFirst/10")
    lin = None if base is None else base * n / 10
    cells = [f"Execute, {n} statements (ms)"]
    if then:
        cells.append(shown(then, first))
    cells += [shown(now, first), f"linear from 10 statements {fmt(lin)}", ratio(ms(now, first), lin),
              "", "≤ 40 at 400, linear"]
    rows.append(cells)
for n in (10, 100, 200, 400):
    row(f"Execute again after one constant edited, {n} statements (ms)",
        f"BM_ExecuteGrowthEdited/{n}", "first Execute", f"BM_ExecuteGrowthFirst/{n}",
        "yes: the same sheet but one constant", "≤ 5 + the statements using the constant")
row("Execute, 1 vector of 3 × 1,000 Sin[t] terms + 97 vCross lines (ms)", "BM_ExecuteVectors98",
    goal="≤ 300")
row("Execute, 2 vectors + 98 vCross lines (ms)", "BM_ExecuteCross100")
row("contour beside a 28,000-character function (ms)", "BM_ContourBesideLongFunction")

for name, label in (("Polynomial", "3*x^4-2*x^3+x^2-5*x+7"), ("SinCosPlusSquare", "Sin[x]*Cos[x]+x^2"),
                    ("NestedQuotient", "nested quotient")):
    row(f"evaluator {label}, bound (ns)", f"BoundBench/{name}", "muparser", f"BM_MuParser_{name}",
        "yes: one value of the same expression", "≤ muparser", unit="ns")

head = ["workload"] + (["before", "after"] if then else ["time"]) + ["reference, same run", "ratio",
                                                                  "same work?", "goal"]
print("| " + " | ".join(head) + " |")
print("|" + "---|" * len(head))
for cells in rows:
    print("| " + " | ".join(cells) + " |")
peak = lambda n: counter(n, "peak_kB")
a, b = peak("BM_EmptyWorksheet"), peak("BM_Field3D")
if a is not None and b is not None:
    print()
    print(f"Peak resident memory of the command benchmark process: empty worksheet {a / 1024:.0f} MB, "
          f"after all command runs {b / 1024:.0f} MB.")
PY

readme="$root/bench/README.md"
awk -v table="$table" '
  /<!-- table start -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
  /<!-- table end -->/ { skip = 0 }
  !skip { print }' "$readme" >"$readme.new" && mv "$readme.new" "$readme"
rm -f "$table"
echo "bench/README.md updated; results in $build/bench-results.json"
