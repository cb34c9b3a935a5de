#!/bin/sh
# Builds the fuzz targets (clang 14, the fuzz preset) and runs each one for a
# bounded time. New inputs go to a scratch corpus under build/fuzz; the seeds
# in fuzz/corpus/<target> are only read. Fails if any target finds a crash, a
# leak, a sanitizer report, a broken property or a hang.
# Usage: fuzz/run.sh [target ...]   (default: every folder in fuzz/corpus)
# FUZZ_SECONDS: time per target, 60 unless set.
# FUZZ_JOBS: targets run side by side, one a core unless set; each still
# gets its whole time.
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
jobs="${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}"
targets="$*"
[ -n "$targets" ] || targets="$(ls fuzz/corpus)"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

# fuzz_one TARGET: runs one target; its verdict goes to build/fuzz/fuzz_TARGET.result.
fuzz_one() {
    t=$1
    exe="build/fuzz/fuzz/fuzz_$t"
    result="build/fuzz/fuzz_$t.result"
    if [ ! -x "$exe" ]; then
        echo "fuzz_$t: not built" >"$result"
        return
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
        secs=$(($(date +%s) - start))
        echo "fuzz_$t: clean, $runs runs in ${secs} s ($((runs / (secs > 0 ? secs : 1))) exec/s), scratch corpus $corpus inputs" >"$result"
    else
        echo "fuzz_$t: FAILED (log $log, inputs in $artifacts)" >"$result"
    fi
}

# Every target runs for the same time, so they go in groups of $jobs.
running=0
for t in $targets; do
    rm -f "build/fuzz/fuzz_$t.result"
    fuzz_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait
        running=0
    fi
done
wait

failed=""
for t in $targets; do
    result="build/fuzz/fuzz_$t.result"
    line=$(cat "$result" 2>/dev/null || echo "fuzz_$t: no result")
    case "$line" in
    "fuzz_$t: clean,"*) echo "$line" ;;
    *)
        echo "$line" >&2
        [ -f "build/fuzz/fuzz_$t.log" ] && tail -n 40 "build/fuzz/fuzz_$t.log" >&2
        failed="$failed $t"
        ;;
    esac
done
if [ -n "$failed" ]; then
    echo "fuzzing failed:$failed" >&2
    exit 1
fi
