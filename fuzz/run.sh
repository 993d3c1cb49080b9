#!/usr/bin/env bash
# Runs the fuzz targets of BUILD_DIR side by side for SECONDS each. The corpus
# is seeded with the committed workbooks and every earlier crashing input;
# new crashing inputs land in BUILD_DIR/artifacts (copy them into
# tests/fixtures/fuzz-regressions/ and they become regression tests).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/artifacts"
pids=()
for target in fuzz_xbiff fuzz_compound_file fuzz_save; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  cp -n "$src"/tests/fixtures/interop/*.xls "$corpus"/ 2>/dev/null || true
  cp -n "$src"/tests/fixtures/fuzz-regressions/* "$corpus"/ 2>/dev/null || true
  "$build/bin/$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" >"$build/$target.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for target in fuzz_xbiff fuzz_compound_file fuzz_save; do
  echo "$target: $(grep -h 'stat::number_of_executed_units' "$build/$target.log" | awk '{print $2}') executions"
  grep -h -E 'ERROR|SUMMARY' "$build/$target.log" || true
done
exit $status
