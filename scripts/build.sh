#!/usr/bin/env bash
# Configures (once) and builds everything into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${OV_BUILD:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
fi
cmake --build "$build"
