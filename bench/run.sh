#!/usr/bin/env bash
# Runs the benchmarks of BUILD_DIR (`make bench`).
set -euo pipefail
build=${1:-build-bench}
src=$(cd "$(dirname "$0")/.." && pwd)
data=$build/bench-data
[ -f "$data/large.xls" ] || /usr/bin/python3 "$src/bench/make_bench_workbooks.py" "$data"
"$build/bin/bench_xbiff" "$data" "$src/bench/workbooks" --benchmark_out="$build/bench_xbiff.json" --benchmark_out_format=json
/usr/bin/python3 "$src/bench/xlrd_ratio.py" "$build/bench_xbiff.json"
