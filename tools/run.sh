#!/usr/bin/env bash
# Installs what is missing, builds VELDRA and runs its main job on the default
# Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j2
program=build/release/program
"$program/veldra" settings
