#!/usr/bin/env bash
# Runs every benchmark executable the bench build produced, then the whole terminal's measurement.
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
[ $found -eq 1 ] || { echo "no benchmarks built yet"; exit 0; }
# The whole terminal over board days and at idle: memory and processor figures.
echo "== the whole terminal"
"$(dirname "$0")/measure-terminal.sh" "$dir"
