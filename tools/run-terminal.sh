#!/usr/bin/env bash
# Starts the terminal on the prepared board root: the launcher, which starts the main program, or the
# main program alone while the launcher is not built. Both programs share the board's one screen: one
# SDL2 window when a display server is reachable (opened by whichever program shows the board first),
# else headless with the board's screen written to $root/run/screen.png whenever it changes. When the
# unit simulator is built it serves the unit bus (COM3) on a pseudo-terminal for as long as the
# terminal runs, and the WiFi module simulator serves the WiFi line (COM1) beside it.
set -euo pipefail
build=${1:?build folder}
root=${2:?root folder}
export PANEL_ROOT="$root"
exe="$root/ResidentFlash/Quellora/Quellora.exe"
if [ ! -x "$exe" ]; then
  echo "The main program is not built yet: the board root at $root is prepared, nothing is started."
  exit 0
fi
if [ -z "${PANEL_DISPLAY:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export PANEL_DISPLAY=headless
fi
if [ "${PANEL_DISPLAY:-}" = headless ]; then
  export PANEL_SCREEN_DUMP=1
  echo "headless: the board's screen is written to $root/run/screen.png"
fi

sim="$build/tools/unitsim/unitsim"
sim_pid=
wifi="$build/tools/wifisim/wifisim"
wifi_pid=
stop_sim() {
  for pid in $sim_pid $wifi_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
# A simulator prints its line once its pseudo-terminal is up and the port map names it; the next one starts
# only then, as both rewrite the map.
first_line() {
  for _ in $(seq 50); do
    grep -q . "$1" 2>/dev/null && break
    sleep 0.1
  done
  head -n 1 "$1" 2>/dev/null
}
mkdir -p "$root/run"
trap stop_sim EXIT
trap 'exit 130' INT TERM
if [ -x "$sim" ]; then
  "$sim" --root "$root" --port COM3 --control "$root/run/unitsim.ctl" > "$root/run/unitsim.log" 2>&1 &
  sim_pid=$!
  echo "unit simulator on $(first_line "$root/run/unitsim.log"); commands: echo 'drop outdoor' > $root/run/unitsim.ctl"
fi
if [ -x "$wifi" ]; then
  "$wifi" --root "$root" --port COM1 > "$root/run/wifisim.log" 2>&1 &
  wifi_pid=$!
  echo "WiFi module simulator on $(first_line "$root/run/wifisim.log"); its server's log: $root/run/wifisim.log"
fi
# The board's power: the launcher starts the main program as on the panel. A reboot (board/reboot
# written, every program ended) powers the board up again; otherwise the terminal runs until its
# programs have ended.
launcher="$root/ResidentFlash/StartUp/Brimcourt.exe"
if [ ! -x "$launcher" ]; then
  "$exe"
  exit 0
fi
programs_running() {
  for tree in "$root"/run/windows/*.tree; do
    [ -e "$tree" ] || continue
    pid=$(basename "$tree" .tree)
    kill -0 "$pid" 2>/dev/null && return 0
  done
  return 1
}
while true; do
  rm -f "$root/board/reboot"
  "$launcher" || true
  if [ -f "$root/board/reboot" ]; then
    echo "board rebooted ($(cat "$root/board/reboot")): starting again"
    sleep 1
    continue
  fi
  while programs_running; do sleep 0.5; done
  break
done
