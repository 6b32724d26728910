#!/usr/bin/env bash
# Installs what is missing, builds VELDRA and runs its main job on the default
# Wine prefix: the bundled sample tiles (compiled by mkgmap) become a mapset
# registered for the host programs, and the installed mapsets are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j2
veldra=build/release/program/veldra

samples="${XDG_DATA_HOME:-$HOME/.local/share}/veldra/sample-maps"
sh tests/data/build-test-data.sh tests/data "$samples/build"
mkdir -p "$samples/alpha"
# The tiles only: 11000000.img is mkgmap's overview map of the family.
cp "$samples"/build/alpha/1100000[1-9].img "$samples/alpha/"

# The outside tools name the mapset with blanks as underscores.
if ! "$veldra" --json list | grep -q '"name": "VELDRA_Sample"'; then
  "$veldra" --yes --lang Eng integrate --name "VELDRA Sample" --registry "$samples"/alpha/1100000[1-9].img
fi
"$veldra" --lang Eng list

# The desktop program on the same prefix, when there is a display to show it on.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  nohup build/release/program/VELDRA >/dev/null 2>&1 &
  echo "VELDRA (the desktop program) is starting."
else
  echo "Without a display here: start the desktop program with build/release/program/VELDRA [--prefix DIR]."
fi
