#!/usr/bin/env bash
# The whole terminal over long board time, as `make run` starts it (headless, both simulators) on a
# fresh board root: the main program's resident memory at each board day up to 10 at a high time scale,
# and its share of a core while idle at 1x with the launcher.
#   tools/measure-terminal.sh BUILD [--scale N] [--days N (0: no memory run)] [--cpu-seconds N]
# The scaled run leaves the launcher out: at 1000x its 90 s heartbeat is 90 ms of real time, less than
# the main program's start takes, so it would restart the main program for ever. 1000x is about as fast
# as the main program's own watchdog allows (its 300 s are 300 ms of real time for the first paint).
# Prints one line per figure; ends with 1 when the main program restarted or the board rebooted on the
# way (the figures would then belong to another process), or when it could not be started.
set -euo pipefail
build=${1:?build folder}
shift
scale=1000
days=10
cpu_seconds=60
while [ $# -gt 0 ]; do
  case "$1" in
    --scale) scale=$2; shift 2 ;;
    --days) days=$2; shift 2 ;;
    --cpu-seconds) cpu_seconds=$2; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/measure-terminal-XXXXXX")
run_pid=
stop_terminal() {
  [ -n "$run_pid" ] || return 0
  kill -- -"$run_pid" 2>/dev/null || true
  wait "$run_pid" 2>/dev/null || true
  run_pid=
}
cleanup() {
  stop_terminal
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts the terminal on a fresh root at a time scale, with or without the launcher; sets run_pid (its
# own process group) and main.
start_terminal() {
  local root=$work/root-$1
  "$here/make-root.sh" "$build" "$root" > /dev/null
  [ "$2" = launcher ] || rm -f "$root/ResidentFlash/StartUp/Brimcourt.exe"
  PANEL_DISPLAY=headless PANEL_TIME_SCALE=$1 setsid "$here/run-terminal.sh" "$build" "$root" \
    > "$work/run-$1.log" 2>&1 &
  run_pid=$!
  main=
  for _ in $(seq 100); do
    main=$(pgrep -f -x "$root/ResidentFlash/Quellora/Quellora.exe" | head -n 1 || true)
    [ -n "$main" ] && break
    sleep 0.1
  done
  if [ -z "$main" ]; then
    echo "the main program did not start; see:" >&2
    cat "$work/run-$1.log" >&2
    exit 1
  fi
  root_in_use=$root
  # Started once the main screen has switched the backlight for the first time.
  for _ in $(seq 100); do
    [ -s "$root/board/board.log" ] && break
    sleep 0.1
  done
}

still_the_same() {
  if ! kill -0 "$main" 2> /dev/null || [ -e "$root_in_use/board/reboot" ]; then
    echo "the main program $main ended or the board rebooted: $(cat "$root_in_use/board/reboot" 2> /dev/null)" >&2
    exit 1
  fi
}

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$main/status"; }
cpu_ticks() { awk "{ print \$14 + \$15 }" "$1/stat"; }

# Memory: sampled at each whole board day; real seconds per board day = 86400 / scale.
measure_memory() {
  start_terminal "$scale" alone
  started=$(date +%s.%N)
  echo "resident memory of Quellora at ${scale}x (board day 0: $(rss_mb) MB once started)"
  for day in $(seq 1 "$days"); do
    due=$(echo "$started + $day * 86400 / $scale" | bc -l)
    while [ "$(echo "$(date +%s.%N) < $due" | bc -l)" = 1 ]; do sleep 0.5; still_the_same; done
    still_the_same
    line="board day $day: $(rss_mb) MB"
    if [ "$day" = 1 ] || [ "$day" = "$days" ]; then
      echo "$line  <- after $day board day$([ "$day" = 1 ] || echo s)"
    else
      echo "$line"
    fi
  done
  stop_terminal
  rows=$(sqlite3 -cmd ".timeout 5000" "$root_in_use/ResidentFlash/Quellora/Quellora.db" \
    "select count(*) from t_RealHP;" 2> /dev/null || echo "?")
  echo "minute rows in t_RealHP: $rows (a full week is 10080)"
}

# Idle cost at 1x: after the start has settled, the main program's processor time over a span.
measure_idle() {
  start_terminal 1 launcher
  sleep 20
  still_the_same
  hz=$(getconf CLK_TCK)
  # What a wake-up costs depends on the machine and how busy it is; how often a thread wakes does not.
  wakeups() { awk '/^voluntary_ctxt_switches:/ { print $2 }' "$1/status"; }
  declare -A before woke
  for t in /proc/"$main"/task/*; do
    before[$(basename "$t")]=$(cpu_ticks "$t")
    woke[$(basename "$t")]=$(wakeups "$t")
  done
  first=$(cpu_ticks "/proc/$main")
  sleep "$cpu_seconds"
  still_the_same
  last=$(cpu_ticks "/proc/$main")
  share=$(echo "scale=3; 100 * ($last - $first) / $hz / $cpu_seconds" | bc -l)
  echo "idle share of a core at 1x with the launcher over ${cpu_seconds} s: Quellora ${share} %" \
    "(load average $(cut -d ' ' -f 1 /proc/loadavg) on $(nproc) cores)"
  for t in /proc/"$main"/task/*; do
    id=$(basename "$t")
    [ -n "${before[$id]:-}" ] || continue
    what=worker
    [ "$id" = "$main" ] && what=GUI
    echo "  thread $id ($what): $(echo "scale=3; 100 * ($(cpu_ticks "$t") - ${before[$id]}) / $hz / $cpu_seconds" | bc -l) %," \
      "$(echo "scale=1; ($(wakeups "$t") - ${woke[$id]}) / $cpu_seconds" | bc -l) wake-ups a second"
  done
}

# On one line, read whole before anything runs: the script may be edited while it runs.
{ [ "$days" -gt 0 ] && measure_memory; measure_idle; exit 0; }
