#!/bin/sh
# The long fuzzing run: an hour in all by default (FUZZ_SECONDS overrides the
# total), shared evenly by the targets; otherwise as run-short.sh.
set -eu
FUZZ_TOTAL_SECONDS=${FUZZ_SECONDS:-3600} exec sh "$(dirname "$0")/run-short.sh"
