#!/bin/sh
# Performance figures: the Windows program's start-up under Wine against
# Wine's notepad.exe, the size of Tarvick.exe and the DLLs it imports, and the
# native hover-path benchmark (fails when a hover costs more than the target).
# Usage: bench/run.sh [startup] [size] [hover]   (default: startup and hover;
# startup ends with the size and imports and their verdicts, size alone is the
# quick look without Wine)
# BENCH_MIN_TIME: seconds per hover benchmark, 0.5 unless set.
set -eu
cd "$(dirname "$0")/.."
exe=build/mingw/app/Tarvick.exe
min_time="${BENCH_MIN_TIME:-0.5}"
target_ns=5000

# ---- start-up under Wine ---------------------------------------------------
measure_startup() {
    echo "== start-up under Wine: Tarvick.exe against notepad.exe"
    if [ ! -f "$exe" ]; then
        echo "not built yet ($exe)"
        return 0
    fi
    # Medians of BENCH_RUNS starts (5 unless set); see bench/startup.sh.
    bench/startup.sh "$exe"
}

# ---- size and imports ------------------------------------------------------
report_size() {
    echo "== Tarvick.exe: size and imported DLLs"
    if [ ! -f "$exe" ]; then
        echo "not built yet ($exe)"
        return 0
    fi
    echo "$(stat -c %s "$exe") bytes"
    x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name'
}

# ---- hover path, native ----------------------------------------------------
run_hover() {
    echo "== hover path, native: ns per notification (target < $target_ns ns)"
    cmake --preset bench >/dev/null
    cmake --build --preset bench >/dev/null
    csv=build/bench/hover.csv
    build/bench/bench/hover_bench --benchmark_min_time="$min_time" \
        --benchmark_out="$csv" --benchmark_out_format=csv
    # Columns: name, iterations, real_time, cpu_time, time_unit, ...
    awk -F, -v target="$target_ns" '
        $1 ~ /^"ProcessHoverBench/ {
            n++
            name = $1; gsub(/"/, "", name)
            if ($5 != "ns" || $3 + 0 >= target) { over++; print "over target: " name " " $3 " " $5 }
            if ($3 + 0 > worst) worst = $3 + 0
        }
        END {
            if (n == 0) { print "no hover figures"; exit 1 }
            printf "hover: worst %.0f ns per notification over %d cases (target < %d ns): %s\n",
                   worst, n, target, over ? "MISSED" : "met"
            exit over ? 1 : 0
        }' "$csv"
}

sections="$*"
[ -n "$sections" ] || sections="startup hover"
for s in $sections; do
    case "$s" in
    startup) measure_startup ;;
    size) report_size ;;
    hover) run_hover ;;
    *) echo "unknown section: $s" >&2; exit 2 ;;
    esac
done
