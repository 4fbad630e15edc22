#!/usr/bin/env bash
# Runs the benchmarks of a release build and writes the table of bench/README.md (between its
# markers) from their results: before (every value through its evaluation text, every record
# compiled at every statement), after, and the references built in the same run.
# Usage: bench/run.sh [build-dir]   (default: build; configured and built here if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target CommandBench ExecuteBench EvaluateBench CurveBench >/dev/null
out=$(mktemp)
commands=$(mktemp)  # the command benchmark's CSV with its header (the counters' columns)
"$build/bench/CommandBench" --benchmark_format=csv 2>/dev/null | grep -E '^(name,|"BM_)' >"$commands"
grep -E '^"BM_' "$commands" >>"$out"
for b in ExecuteBench EvaluateBench CurveBench; do
  "$build/bench/$b" --benchmark_format=csv 2>/dev/null | grep -E '^"(BM_|BoundBench)' >>"$out"
done

# CPU time of a benchmark in ms (or ns for the evaluator), "-" when it did not run.
value() {
  awk -F, -v name="$1" '{ n = $1; gsub(/"/, "", n); sub(/\/iterations:.*/, "", n) } n == name {
      t = $4; u = $5; gsub(/"/, "", u)
      if (u == "ns" && "'"$2"'" == "ms") t = t / 1e6
      if (u == "us" && "'"$2"'" == "ms") t = t / 1e3
      if (u == "ms" && "'"$2"'" == "ns") t = t * 1e6
      printf (t < 1 ? "%.3f" : (t < 100 ? "%.1f" : "%.0f")), t; found = 1; exit }
    END { if (!found) printf "-" }' "$out"
}
peak() {
  awk -F, -v name="$1" 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i ~ /peak_kB/) col = i; next }
    { n = $1; gsub(/"/, "", n); sub(/\/iterations:.*/, "", n) }
    n == name { printf "%.0f", $col / 1024; exit }' "$commands"
}

table=$(mktemp)
{
  echo "| workload | before | after | reference, same run | goal |"
  echo "|---|---|---|---|---|"
  echo "| IVP, 4 equations, t 0–200, tol 1e-6 (ms) | $(value BM_Text_Ivp4Equations ms) | $(value BM_Bound_Ivp4Equations ms) | GSL rkf45 + muparser $(value BM_Reference_Ivp4GslRkf45Muparser ms) | ≤ 10 × reference |"
  for n in 1 2 3 4; do
    echo "| IVP, $n equation(s), t 0–100, tol 1e-6 (ms) | | $(value BM_Bound_IvpEquations/$n ms) | GSL rkf45 + muparser $(value BM_Reference_IvpEquationsGslRkf45Muparser/$n ms) | ≤ 2 × reference |"
  done
  for n in 50 200 800; do
    echo "| dblInt ${n}×${n} of x*y+Sin[x*y] (ms) | | $(value BM_Bound_DblIntN/$n ms) | Simpson loop over muparser $(value BM_Reference_DblIntNSimpsonMuparser/$n ms) | ≤ 2 × reference |"
  done
  echo "| Plot[ helix, 37,506 values (ms) | | $(value BM_Curve25000Points ms) | muparser values, same curve build $(value BM_Reference_Curve25000PointsMuparser ms) | ≤ 1.2 × reference |"
  echo "| contour x²+y², 16 levels, step 0.01 (ms) | $(value BM_Text_ContourSquares ms) | $(value BM_Bound_ContourSquares ms) | | < 60 |"
  echo "| contour Sin[x]*Cos[y], 19 levels, step 0.01 (ms) | $(value BM_Text_ContourSinCos ms) | $(value BM_Bound_ContourSinCos ms) | | < 60 |"
  echo "| dblInt 200×200 of x*y+Sin[x*y] (ms) | $(value BM_Text_DblInt200 ms) | $(value BM_Bound_DblInt200 ms) | 40,401 muparser values $(value BM_Reference_DblInt200Muparser ms) | < 15 |"
  echo "| BVP secant shooting, t to 3 (ms) | $(value BM_Text_BvpSecant ms) | $(value BM_Bound_BvpSecant ms) | | < 10 |"
  echo "| slope field 12×8 (ms) | $(value BM_Text_SlopeField ms) | $(value BM_Bound_SlopeField ms) | | < 15 |"
  echo "| direction field 15×15 (ms) | $(value BM_Text_DirField ms) | $(value BM_Bound_DirField ms) | | < 15 |"
  echo "| 3-D field 7×7×7 (ms) | $(value BM_Text_Field3D ms) | $(value BM_Bound_Field3D ms) | | < 15 |"
  echo "| Execute, 1 vector + 98 vCross lines (ms) | $(value BM_ExecuteCross100FullCompiles ms) | $(value BM_ExecuteCross100 ms) | | |"
  echo "| contour beside a 28,000-character function (ms) | | $(value BM_ContourBesideLongFunction ms) | | |"
  echo "| evaluator 3*x^4-2*x^3+x^2-5*x+7 (ns) | $(value BM_Sheet_Polynomial ns) | $(value BoundBench/Polynomial ns) | muparser $(value BM_MuParser_Polynomial ns) | ≤ muparser |"
  echo "| evaluator Sin[x]*Cos[x]+x^2 (ns) | $(value BM_Sheet_SinCosPlusSquare ns) | $(value BoundBench/SinCosPlusSquare ns) | muparser $(value BM_MuParser_SinCosPlusSquare ns) | ≤ muparser |"
  echo "| evaluator nested quotient (ns) | $(value BM_Sheet_NestedQuotient ns) | $(value BoundBench/NestedQuotient ns) | muparser $(value BM_MuParser_NestedQuotient ns) | ≤ muparser |"
  echo
  echo "Peak resident memory of the command benchmark process: empty worksheet $(peak BM_EmptyWorksheet) MB, after all bound command runs $(peak BM_Bound_Field3D) MB."
} >"$table"

readme="$root/bench/README.md"
awk -v table="$table" '
  /<!-- table start -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
  /<!-- table end -->/ { skip = 0 }
  !skip { print }' "$readme" >"$readme.new"
mv "$readme.new" "$readme"
rm -f "$out" "$commands" "$table"
echo "bench/README.md updated"
