#!/usr/bin/env bash
# Runs every benchmark executable the bench build produced.
set -euo pipefail
dir=${1:-build/bench}
found=0
for exe in "$dir"/bench/*_bench; do
  [ -x "$exe" ] || continue
  found=1
  echo "== $(basename "$exe")"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
[ $found -eq 1 ] || echo "no benchmarks built yet"
