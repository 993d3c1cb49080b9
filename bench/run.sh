#!/usr/bin/env bash
# Runs every benchmark of BUILD_DIR (`make bench`): each prints its own
# table, then one summary line per measurement.
set -euo pipefail
build=${1:-build-bench}
src=$(cd "$(dirname "$0")/.." && pwd)
data=$build/bench-data

for b in bench_calc bench_excel_service bench_export_henkan; do
    echo "== $b"
    "$build/bin/$b" --benchmark_out="$build/$b.json" --benchmark_out_format=json
done

echo "== bench_xbiff"
[ -f "$data/large.xls" ] || /usr/bin/python3 "$src/bench/make_bench_workbooks.py" "$data"
"$build/bin/bench_xbiff" "$data" "$src/bench/workbooks" --benchmark_out="$build/bench_xbiff.json" --benchmark_out_format=json

echo "== bench_print"
QT_QPA_PLATFORM=offscreen "$build/bin/bench_print" --benchmark_out="$build/bench_print.json" --benchmark_out_format=json

echo "== summary"
/usr/bin/python3 - "$build"/bench_calc.json "$build"/bench_excel_service.json "$build"/bench_export_henkan.json "$build"/bench_print.json <<'PY'
import json, sys
for path in sys.argv[1:]:
    for b in json.load(open(path))["benchmarks"]:
        extra = ""
        if "items_per_second" in b:
            extra = "  %.0f items/s" % b["items_per_second"]
        if "pages_per_second" in b:
            pps = b["pages_per_second"]
            extra = "  %.0f pages/s, %.2f ms a page" % (pps, 1000 / pps)
        # The name without Google Benchmark's "/iterations:3/real_time".
        print("%-40s %10.2f %s%s" % (b["name"].split("/")[0], b["real_time"], b["time_unit"], extra))
PY
echo "the reader beside python3-xlrd:"
/usr/bin/python3 "$src/bench/xlrd_ratio.py" "$build/bench_xbiff.json"
