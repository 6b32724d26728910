#!/usr/bin/env bash
# The Windows build: cross-compiles VELDRA with mingw-w64, runs its Windows
# test suites under Wine, and checks that a mapset integrated by the Windows
# program in a Wine prefix is listed alike by the Linux program, and the other
# way round. Everything Wine does here happens in a prefix of the build folder.
# Usage: tools/windows-test.sh [LINUX-BUILD-DIR]   (default build/debug; its veldra and outside programs built)
# VELDRA_WINDOWS_BUILD (default build/windows) and VELDRA_JOBS (default 2) may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/${VELDRA_WINDOWS_BUILD:-build/windows}
linux_build=$root/${1:-build/debug}
linux_veldra=$linux_build/program/veldra
cmake --preset windows -B "$build" >/dev/null
# The map files mkgmap made for the Linux tests, when there, serve here as well.
if [ -f "$linux_build/tests/data/.complete" ]; then
  cp -a "$linux_build/tests/data/alpha" "$linux_build/tests/data/beta" "$linux_build/tests/data/gmapsupp" \
    "$linux_build/tests/data/.complete" "$build/tests/data/"
fi
cmake --build "$build" -j"${VELDRA_JOBS:-2}"

# No menu entries or desktop files for what the tests install.
export LANG=C.UTF-8 WINEDEBUG=-all WINEPREFIX=$build/wineprefix WINEDLLOVERRIDES=winemenubuilder.exe=d
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# One server for every suite, instead of one start-up per suite. Wine's own
# background programs start first, with no output: started by a suite, they
# would hold its output pipe open and CTest would wait for them forever.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT  # a failed step must not leave it running
wine cmd /c exit >/dev/null 2>&1 </dev/null
# The fuzz targets' replays are not built for Windows.
ctest --test-dir "$build" -j"${VELDRA_JOBS:-2}" -E '_regressions$'

# The installer, silent, and the command line from the installed folder.
cmake --build "$build" --target veldra_installer
wine "$build/VELDRA-setup.exe" /S '/D=C:\VELDRA'
version=$(wine 'C:\VELDRA\veldra.com' --version | tr -d '\r')
expected="veldra $(sed -n 's/^project(VELDRA VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ "$version" = "$expected" ] || { echo "installed veldra.com says \"$version\", not \"$expected\"" >&2; exit 1; }
echo "installed: $version"
wineserver -k
wineserver -w

# End to end: the same prefix, written by one program and listed by both.
# Each integrates tiles with its own outside programs; the Windows
# cgpsmapper.exe runs mkgmap with the tests' java.exe (through JAVA_HOME), a
# stand-in for a Windows Java that runs the system's.
prefix=$build/e2e-prefix
rm -rf "$prefix"
WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -w
# Integrating writes beside the tiles: copies of the test maps, not the maps themselves.
data=$build/e2e-maps
rm -rf "$data"
mkdir -p "$data"
cp -r "$build/tests/data/alpha" "$build/tests/data/beta" "$data/"
java_home=$(WINEPREFIX=$prefix winepath -w "$build/tests/java")
windows_veldra() { WINEPREFIX=$prefix JAVA_HOME=$java_home wine "$build/program/veldra.com" --lang Eng --yes "$@"; }
linux_veldra() { WINEPREFIX=$prefix wineserver -w; "$linux_veldra" --prefix "$prefix" --lang Eng --yes "$@"; }
same_lists() {
  local from_windows from_linux
  from_windows=$(windows_veldra --json list | tr -d '\r')
  from_linux=$(linux_veldra --json list)
  if [ "$from_windows" != "$from_linux" ]; then
    echo "the two programs list the prefix differently:" >&2
    diff <(echo "$from_windows") <(echo "$from_linux") >&2 || true
    exit 1
  fi
  echo "$from_linux"
}
windows_veldra integrate --registry --name "Alpha from Windows" --fid 4811 "$data"/alpha/1100000[1-9].img
listed=$(same_lists)
grep -q '"Alpha_from_Windows"' <<<"$listed" || { echo "Linux does not list the mapset Windows integrated" >&2; exit 1; }
linux_veldra integrate --registry --name "Beta from Linux" --fid 4812 "$data"/beta/0012000[1-9].img
listed=$(same_lists)
grep -q '"Beta_from_Linux"' <<<"$listed" || { echo "Windows does not list the mapset Linux integrated" >&2; exit 1; }
echo "Windows and Linux list the same mapsets"
