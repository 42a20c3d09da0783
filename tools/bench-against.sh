#!/usr/bin/env bash
# Runs benchmarks of this tree and of an earlier commit alternately in one run, so that both meet the
# same machine load, and prints each one's median time with the ratio of this tree to the other.
#   tools/bench-against.sh COMMIT [ROUNDS]
# The earlier tree is unpacked and built once under build/against-<commit>; this tree's bench build
# is build/bench (`make bench` makes both folders' builds the same way). Each tree runs its own
# benchmark sources: where a benchmark's set-up changed between them, they time different work.
set -euo pipefail
commit=${1:?commit to compare with}
rounds=${2:-5}
jobs=${JOBS:-4}
here=$(cd "$(dirname "$0")/.." && pwd)
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3  # the system's, not a version manager's shim
cd "$here"
# benchmark executable and filter: a full-screen repaint, saving one changed setting, a cycle with
# every control step
benches=("gui_bench BM_FullScreenRepaint" "params_bench BM_SaveChangedOneOf326" "engine_bench BM_CycleWithEveryControlStep")

build_bench() {  # source folder, build folder
  [ -f "$2/build.ninja" ] || cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELLORA_TESTS=OFF \
    -DQUELLORA_BENCH=ON > /dev/null
  cmake --build "$2" -j "$jobs" > /dev/null
}

short=$(git rev-parse --short "$commit")
other=build/against-$short
if [ ! -d "$other/src" ]; then
  mkdir -p "$other/src"
  git archive "$commit" | tar -x -C "$other/src"
fi
echo "building this tree's and $short's benchmarks"
build_bench . build/bench
build_bench "$other/src" "$other/bench"

# The median CPU time of one run of a benchmark, in microseconds.
median_us() {  # executable, filter
  "$1" --benchmark_filter="^$2(/.*)?\$" --benchmark_repetitions=3 --benchmark_format=json 2> /dev/null | "$py" -c '
import json, sys
runs = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"]
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
print(runs[0]["cpu_time"] * scale[runs[0]["time_unit"]] if runs else "nan")'
}

for entry in "${benches[@]}"; do
  read -r exe filter <<< "$entry"
  mine=()
  theirs=()
  for _ in $(seq "$rounds"); do
    theirs+=("$(median_us "$other/bench/bench/$exe" "$filter")")
    mine+=("$(median_us "build/bench/bench/$exe" "$filter")")
  done
  "$py" - "$filter" "$short" "${#mine[@]}" "${mine[@]}" "${theirs[@]}" << 'EOF'
import statistics, sys
name, short, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
values = [float(v) for v in sys.argv[4:]]
mine, theirs = statistics.median(values[:n]), statistics.median(values[n:])
print(f"{name}: this tree {mine:.1f} us, {short} {theirs:.1f} us (CPU time, median of {n} alternate runs):"
      f" {mine / theirs:.2f}x")
EOF
done
