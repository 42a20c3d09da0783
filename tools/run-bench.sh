#!/usr/bin/env bash
# Runs every benchmark executable the bench build produced.
set -euo pipefail
dir=${1:-build/bench}
found=0
for exe in "$dir"/bench/*_bench; do
  [ -x "$exe" ] || continue
  found=1
  echo "== $(basename "$exe")"
  run=()
  # The board's frame is timed on the SDL display as well: on a virtual X server when there is no display.
  if [ "$(basename "$exe")" = board_bench ] && [ -z "${DISPLAY:-}" ] && command -v xvfb-run > /dev/null; then
    run=(xvfb-run -a -s "-screen 0 1280x720x24")
  fi
  "${run[@]}" "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
[ $found -eq 1 ] || echo "no benchmarks built yet"
