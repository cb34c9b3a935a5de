#!/bin/sh
# Builds the Windows packages: the portable ZIP and the 64-bit NSIS installer,
# Tarvick-<version>-win64.zip and .exe in the build folder.
# Usage: tools/package.sh [build-folder]   (default build/mingw)
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh nsis

build="${1:-build/mingw}"
cmake --preset mingw -B "$build"
cmake --build "$build" --parallel 2 --target Tarvick
cpack --config "$build/CPackConfig.cmake" -G "ZIP;NSIS" -B "$build"
