#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the terminal need, only those that are absent.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3
  libfreetype-dev libfontconfig-dev libpng-dev libsdl2-dev
  libmodbus-dev
  clang libclang-rt-14-dev
  xvfb xauth
  fonts-wqy-microhei
  python3 librsvg2-bin fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
