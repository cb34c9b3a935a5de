#!/bin/sh
# Builds everything and runs every test: the native unit tests, then the
# cross build's tests under Wine on a virtual display.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset mingw
cmake --build --preset mingw
# One virtual display for every Wine test; the prefix's wineserver is ended
# by the tests' cleanup fixture, and once more here whatever happened.
status=0
xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset mingw || status=$?
WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null || true
exit $status
