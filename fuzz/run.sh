#!/bin/sh
# Builds the fuzz targets (clang 14, the fuzz preset) and runs each one for a
# bounded time. New inputs go to a scratch corpus under build/fuzz; the seeds
# in fuzz/corpus/<target> are only read. Fails if any target finds a crash, a
# leak, a sanitizer report, a broken property or a hang.
# Usage: fuzz/run.sh [target ...]   (default: every folder in fuzz/corpus)
# FUZZ_SECONDS: time per target, 60 unless set.
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
targets="$*"
[ -n "$targets" ] || targets="$(ls fuzz/corpus)"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

failed=""
for t in $targets; do
    exe="build/fuzz/fuzz/fuzz_$t"
    if [ ! -x "$exe" ]; then
        echo "fuzz_$t: not built" >&2
        failed="$failed $t"
        continue
    fi
    scratch="build/fuzz/corpus/$t"
    artifacts="build/fuzz/artifacts/$t"
    log="build/fuzz/fuzz_$t.log"
    mkdir -p "$scratch" "$artifacts"
    start=$(date +%s)
    if "$exe" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$scratch" "fuzz/corpus/$t" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        corpus=$(ls "$scratch" | wc -l)
        secs=$(( $(date +%s) - start ))
        echo "fuzz_$t: clean, $runs runs in ${secs} s ($(( runs / (secs > 0 ? secs : 1) )) exec/s), scratch corpus $corpus inputs"
    else
        echo "fuzz_$t: FAILED (log $log, inputs in $artifacts)" >&2
        tail -n 40 "$log" >&2
        failed="$failed $t"
    fi
done
if [ -n "$failed" ]; then
    echo "fuzzing failed:$failed" >&2
    exit 1
fi
