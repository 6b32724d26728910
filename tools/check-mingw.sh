#!/usr/bin/env bash
# The core must stay buildable for Windows: every core source (POSIX backends
# aside) compiles with the mingw-w64 cross compiler.
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=x86_64-w64-mingw32-g++-posix
failed=0
for source in src/{platform,app,formats,gmap,registration,tools,existing,integration,tasks}/*.cpp src/platform/win32/*.cpp; do
  if ! "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Isrc "$source"; then
    echo "does not build for Windows: $source" >&2
    failed=1
  fi
done
exit $failed
