#!/usr/bin/env bash
# Installs what is missing, builds VELDRA with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug -j2
# Wine needs a UTF-8 locale for non-ASCII file names and no display.
export LANG=C.UTF-8 WINEDEBUG=-all
unset DISPLAY
ctest --preset debug -j2
# The same tests under AddressSanitizer and UBSan (Wine's own tests once is enough).
cmake --preset asan >/dev/null
cmake --build --preset asan -j2
ctest --preset asan -j2 -E Wine
# The core still compiles for Windows.
tools/check-mingw.sh
# A short fuzzing run of every parser.
FUZZ_SECONDS=${FUZZ_SECONDS:-10} sh fuzz/run-short.sh
