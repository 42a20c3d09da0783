#!/usr/bin/env bash
# Prepares an emulated board root: the folders of the board's flash, the installed programs,
# their resources, the delivered database, the font and the board configuration.
set -euo pipefail
build=${1:?build folder}
root=${2:?root folder}
mkdir -p "$root/ResidentFlash/Quellora" "$root/ResidentFlash/StartUp" "$root/board" "$root/run"
install_file() {  # source, destination inside the root; skipped when not built yet
  if [ -f "$1" ]; then
    cp -f "$1" "$root/$2"
  else
    echo "not there yet: $2"
  fi
}
install_file "$build/hmi/Quellora" ResidentFlash/Quellora/Quellora.exe
# The launcher lives in the start-up folder, outside the installation that an update replaces.
install_file "$build/launcher/Brimcourt" ResidentFlash/StartUp/Brimcourt.exe
install_file "$build/boardlib/libCorvalin.so" ResidentFlash/Quellora/Corvalin.dll
install_file "$build/boardlib/libHalvarn.so" ResidentFlash/Quellora/Halvarn.dll
# Each program's resources (bitmaps, dialog templates) beside it: <name>.res, refreshed on every run.
for res in "$build"/resources/*.res; do
  [ -d "$res" ] || continue
  folder=ResidentFlash/Quellora
  [ "$(basename "$res")" = Brimcourt.res ] && folder=ResidentFlash/StartUp
  rm -rf "$root/$folder/$(basename "$res")"
  cp -R "$res" "$root/$folder/"
done
# The delivered database is copied only when the root has none, so settings survive a restart.
if [ ! -f "$root/ResidentFlash/Quellora/Quellora.db" ]; then
  install_file "$build/resources/Quellora.db" ResidentFlash/Quellora/Quellora.db
fi
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] && cp -f "$font" "$root/ResidentFlash/Quellora/msyh.ttf"
[ -f "$root/board/processor" ] || echo 2577 > "$root/board/processor"
# The touch driver's key exists on a real board; the main program sets its cursor value in it at start-up.
[ -f "$root/board/registry" ] || printf '[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n' > "$root/board/registry"
echo "board root ready: $root"
