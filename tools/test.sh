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
# A test that fails is run once more: a Wine test whose process is killed
# while parallel Wine sessions start up must not fail the run alone, while a
# real fault fails twice.
ctest --preset debug -j2 --repeat until-pass:2 | tee build/debug/ctest.log
# The tests that run Wine itself (suites named ...Wine or ...WineTest, tests
# named Wine...) skip on a machine without Wine and fail under CI; say how many
# ran and how many were skipped.
wine_tests_regex='Wine(Test)?\.|\.Wine'
wine_tests=$(ctest --preset debug -N -R "$wine_tests_regex" | grep -cE "Test +#[0-9]+: .*(${wine_tests_regex})" || true)
wine_skipped=$(grep -cE "(${wine_tests_regex}).*\(Skipped\)" build/debug/ctest.log || true)
echo "Wine tests: ${wine_tests} ran, ${wine_skipped} skipped"
if [ -n "${CI:-}" ] && { [ "${wine_tests}" -eq 0 ] || [ "${wine_skipped}" -ne 0 ]; }; then
  echo "CI must run every Wine test" >&2
  exit 1
fi
# The same tests under AddressSanitizer and UBSan (the tests that run Wine once is enough).
cmake --preset asan >/dev/null
cmake --build --preset asan -j2
# The map files mkgmap made for the debug tests serve here as well.
cp -a build/debug/tests/data/alpha build/debug/tests/data/beta build/debug/tests/data/gmapsupp \
  build/debug/tests/data/.complete build/asan/tests/data/
ctest --preset asan -j2 --repeat until-pass:2 -E "$wine_tests_regex"
# The Windows build: its test suites under Wine, and a prefix both programs share.
tools/windows-test.sh build/debug
# A short fuzzing run of every parser.
FUZZ_SECONDS=${FUZZ_SECONDS:-10} sh fuzz/run-short.sh
