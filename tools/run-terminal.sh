#!/usr/bin/env bash
# Starts the terminal on the prepared board root.
set -euo pipefail
build=${1:?build folder}
root=${2:?root folder}
export PANEL_ROOT="$root"
exe="$root/ResidentFlash/Quellora/Quellora.exe"
if [ ! -x "$exe" ]; then
  echo "The main program is not built yet: the board root at $root is prepared, nothing is started."
  exit 0
fi
exec "$exe"
