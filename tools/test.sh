#!/bin/sh
# Builds everything and runs every test: the native unit tests, the same
# under the sanitizers, the fuzz targets and the hover benchmark, then the
# cross build's tests under Wine on a virtual display.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh clang-14 libclang-rt-14-dev libbenchmark-dev nsis clang-format

# The sources follow the repository's .clang-format.
tools/format.sh --check

cmake --preset native
cmake --build --preset native
ctest --preset native

# The unit tests again under AddressSanitizer and UBSan, then each fuzz
# target for FUZZ_SECONDS (60 unless set), then a short hover benchmark.
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
fuzz/run.sh
BENCH_MIN_TIME=0.05 bench/run.sh hover

cmake --preset mingw
cmake --build --preset mingw
# One virtual display for every Wine test; the prefix's wineserver is ended
# by the tests' cleanup fixture, and once more here whatever happened. The
# installer test builds the ZIP and the installer with CPack itself.
status=0
xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset mingw || status=$?
WINEPREFIX="$PWD/build/mingw/wineprefix" wineserver -k 2>/dev/null || true
exit $status
