#!/bin/sh
# Start-up of Tarvick.exe against Wine's own notepad.exe, side by side in one
# run under Wine: time from CreateProcess to a visible window and resident
# memory after 2 s idle, as medians of BENCH_RUNS runs each (5 unless set) and
# as ratios Tarvick/notepad; then the size of Tarvick.exe and its imports.
# The CPU time each program has used when its window shows is given too: on a
# busy machine the wall time swings with the load, the CPU time hardly.
# A bare one-window program runs alongside as the floor: what Wine costs any
# program, so the rest is what the program itself costs.
# Targets: both ratios <= 1.0, under 1 MiB, only Windows system DLLs.
# Usage: bench/startup.sh [Tarvick.exe]   (default build/mingw/app/Tarvick.exe)
# Runs on a virtual display when there is none; its Wine prefix is
# bench-prefix in the build folder. Exit status 0 even when a target is
# missed: the verdicts say so.
set -eu
cd "$(dirname "$0")/.."
repo=$PWD
exe=$(realpath "${1:-build/mingw/app/Tarvick.exe}")
runs=${BENCH_RUNS:-5}
[ -f "$exe" ] || { echo "not built: $exe" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$repo/bench/startup.sh" "$exe"
fi

build=$(dirname "$(dirname "$exe")")
WINEPREFIX="$build/bench-prefix"
export WINEPREFIX
. "$repo/tests/wine/wine.env"

# The same warm, persistent wineserver for every program, so none pays for
# starting it or Wine's services.
"$repo/tests/wine/prefix.sh" setup "$WINEPREFIX"
trap '"$repo/tests/wine/prefix.sh" cleanup "$WINEPREFIX"' EXIT
trap 'exit 1' INT TERM

bench="$WINEPREFIX/drive_c/bench"
mkdir -p "$bench/Tarvick/data/Tarvick"
cxx="x86_64-w64-mingw32-g++-posix -O2 -municode -static -Wall -Wextra -Werror"
$cxx "$repo/bench/StartTimer.cpp" -o "$bench/StartTimer.exe"
$cxx -mwindows "$repo/bench/BareWindow.cpp" -o "$bench/BareWindow.exe"
# The release build is stripped when linked: this is the program as shipped.
cp "$exe" "$bench/Tarvick/Tarvick.exe"
cp "$repo/data/Tarvick/Tarvick.ini" "$bench/Tarvick/data/Tarvick/"

# The Wine processes of this prefix whose program is $1, one pid a line.
pids_of() {
    for p in $(pgrep -i -f "$1" || true); do
        d=/proc/$p
        case "$(readlink "$d/exe" 2>/dev/null)" in /usr/lib/wine/*) ;; *) continue ;; esac
        tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        # shellcheck disable=SC1003
        prog=$(tr '\0' '\n' <"$d/cmdline" 2>/dev/null | head -n 1 | tr '\\' '/')
        [ "$(basename "$prog" | tr '[:upper:]' '[:lower:]')" = "$1" ] && echo "${d#/proc/}"
    done
    return 0
}

# CPU milliseconds used so far by every thread of the program $1.
cpu_ms() {
    # shellcheck disable=SC2046
    cat $(for p in $(pids_of "$1"); do echo "/proc/$p/task/"*/schedstat; done) /dev/null 2>/dev/null |
        awk '{ ns += $1 } END { printf "%.1f", ns / 1e6 }'
}

rss_kib() {
    total=0
    for p in $(pids_of "$1"); do
        kib=$(awk '/^VmRSS:/ { print $2 }' "/proc/$p/status" 2>/dev/null || echo 0)
        total=$((total + ${kib:-0}))
    done
    echo "$total"
}

end_program() {
    pids=$(pids_of "$1")
    [ -n "$pids" ] || return 0
    # shellcheck disable=SC2086
    kill $pids 2>/dev/null || true
    i=0
    while [ -n "$(pids_of "$1")" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    # shellcheck disable=SC2046
    kill -9 $(pids_of "$1") 2>/dev/null || true
}

# One start of the Windows path $1: prints "milliseconds KiB CPU-milliseconds".
run_once() {
    # shellcheck disable=SC1003
    name=$(basename "$(printf '%s' "$1" | tr '\\' '/')" | tr '[:upper:]' '[:lower:]')
    rm -f "$bench/Tarvick/data/Tarvick/Tarvick.pos"
    # Through a file: the program inherits the timer's output, which would keep
    # a pipe open until it ends.
    wine "$bench/StartTimer.exe" "$1" >"$bench/ms.txt" || { echo "no window from $1" >&2; exit 1; }
    ms=$(tr -d '\r' <"$bench/ms.txt")
    cpu=$(cpu_ms "$name")
    sleep 2
    kib=$(rss_kib "$name")
    end_program "$name"
    echo "$ms $kib $cpu"
}

verdict() { awk -v r="$1" -v t="$2" 'BEGIN { print (r <= t) ? "met" : "MISSED" }'; }

path_of() {
    case "$1" in
    Tarvick) printf '%s' 'C:\bench\Tarvick\Tarvick.exe' ;;
    notepad) printf '%s' 'C:\windows\system32\notepad.exe' ;;
    bare) printf '%s' 'C:\bench\BareWindow.exe' ;;
    esac
}
echo "start-up under Wine: $runs runs each, in turn, after one unmeasured start of each"
results="$bench/results.txt"
: >"$results"
for round in warm-up $(seq "$runs"); do
    line="  run $round:"
    for prog in Tarvick notepad bare; do
        r=$(run_once "$(path_of $prog)")
        [ "$round" = warm-up ] && continue
        echo "$prog $r" >>"$results"
        # shellcheck disable=SC2086
        set -- $r
        line="$line $prog $1 ms $2 KiB $3 ms CPU,"
    done
    [ "$round" = warm-up ] || echo "${line%,}"
done

# Per program: median ms, KiB and CPU ms.
medians=$(awk '
    { ms[$1] = ms[$1] " " $2; kib[$1] = kib[$1] " " $3; cpu[$1] = cpu[$1] " " $4 }
    function median(list,   v, n, i, j, t) {
        n = split(list, v, " ")
        for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    END { for (p in ms) print p, median(ms[p]), median(kib[p]), median(cpu[p]) }' "$results")
get() { echo "$medians" | awk -v p="$1" -v f="$2" '$1 == p { print $f }'; }
tm=$(get Tarvick 2)
nm=$(get notepad 2)
bm=$(get bare 2)
tk=$(get Tarvick 3)
nk=$(get notepad 3)
bk=$(get bare 3)
tc=$(get Tarvick 4)
nc=$(get notepad 4)
bc=$(get bare 4)
time_ratio=$(awk -v a="$tm" -v b="$nm" 'BEGIN { printf "%.2f", a / b }')
mem_ratio=$(awk -v a="$tk" -v b="$nk" 'BEGIN { printf "%.2f", a / b }')
cpu_ratio=$(awk -v a="$tc" -v b="$nc" 'BEGIN { printf "%.2f", a / b }')

printf '%-16s %12s %12s %12s %6s\n' "median" "Tarvick" "notepad" "bare window" "ratio"
printf '%-16s %9s ms %9s ms %9s ms %6s  target <= 1.0: %s\n' "start to window" "$tm" "$nm" "$bm" "$time_ratio" \
    "$(verdict "$time_ratio" 1.0)"
printf '%-16s %9s ms %9s ms %9s ms %6s\n' "CPU until window" "$tc" "$nc" "$bc" "$cpu_ratio"
printf '%-16s %8s KiB %8s KiB %8s KiB %6s  target <= 1.0: %s\n' "resident memory" "$tk" "$nk" "$bk" "$mem_ratio" \
    "$(verdict "$mem_ratio" 1.0)"
awk -v tm="$tm" -v nm="$nm" -v bm="$bm" -v tc="$tc" -v nc="$nc" -v bc="$bc" -v tk="$tk" -v nk="$nk" -v bk="$bk" 'BEGIN {
    printf "above the bare window: Tarvick %+.1f ms, %+.1f ms CPU, %+d KiB; notepad %+.1f ms, %+.1f ms CPU, %+d KiB\n",
           tm - bm, tc - bc, tk - bk, nm - bm, nc - bc, nk - bk }'

size=$(stat -c %s "$exe")
echo "size: $size bytes as built and shipped; target < 1 MiB: $(verdict "$size" 1048575)"
# A DLL Windows has is one Wine's system32 has; anything else would have to ship.
foreign=""
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
for dll in $dlls; do
    [ -n "$(find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll")" ] || foreign="$foreign $dll"
done
echo "imports: $(echo "$dlls" | tr '\n' ' ')"
if [ -n "$foreign" ]; then
    echo "not Windows system DLLs:$foreign; target only system DLLs: MISSED"
else
    echo "all are Windows system DLLs; target only system DLLs: met"
fi
