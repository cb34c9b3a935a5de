#!/bin/sh
# e2e-screenshot.sh TARVICK_EXE ARTIFACTS_DIR
# Starts the program from a folder of its own, keeps a screenshot of its
# window at start as ARTIFACTS_DIR/tarvick-start.png, checks that the face
# between the controls is navy, and ends the program with a click on "Exit"
# once the program has put the pointer there (its sign that it takes input).
# Runs under the test's WINEPREFIX on the test's display.
set -eu
exe=$1
artifacts=$2
shot=$artifacts/tarvick-start.png

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvick shot.XXXXXX")
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

prog="$work/prog dir"
mkdir -p "$prog/data/Tarvick" "$artifacts"
cp "$exe" "$prog/Tarvick.exe"
printf '# screenshot\r\n2 C:\\nothing.exe\r\n' >"$prog/data/Tarvick/Tarvick.ini"
rm -f "$shot"

# The pointer rests in the screen's corner, where no window of the program
# appears: on "Exit" it can only have been put by the program.
xdotool mousemove 0 0
wine "$prog/Tarvick.exe" </dev/null >/dev/null 2>&1 &
pid=$!

win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarvick$' | head -n 1) || true
if [ -z "$win" ]; then
    echo "no visible Tarvick window" >&2
    exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$win")"

# A point of the face between the two columns of switches, in design units of
# the 720 x 755 face scaled to the window.
x=$((WIDTH * 335 / 720))
y=$((HEIGHT * 330 / 755))
rgb() {
    convert "$shot" -format "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}

# Until the first paint the window may still be black: retry for a while.
colour=
tries=0
while [ $tries -lt 50 ]; do
    if import -window "$win" "$shot" 2>/dev/null; then
        colour=$(rgb)
        [ "$colour" = "0,0,128" ] && break
    fi
    tries=$((tries + 1))
    sleep 0.2
done
echo "screenshot: $shot (${WIDTH}x${HEIGHT}), face at $x,$y is $colour"
status=0
if [ "$colour" != "0,0,128" ]; then
    echo "the face is not navy" >&2
    status=1
fi

# "Exit" sits at design (600..680, 650..700): the program puts the pointer
# on its centre, which the window's frame shifts by a few pixels at most.
cx=$((X + WIDTH * 640 / 720))
cy=$((Y + HEIGHT * 675 / 755))
on_exit() {
    eval "$(xdotool getmouselocation --shell | grep '^[XY]=')"
    [ "$X" -gt $((cx - 20)) ] && [ "$X" -lt $((cx + 20)) ] && [ "$Y" -gt $((cy - 20)) ] && [ "$Y" -lt $((cy + 20)) ]
}
tries=0
until on_exit || [ $tries -ge 100 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if ! on_exit; then
    echo "the program never put the pointer on Exit" >&2
    exit 1
fi
xdotool click 1
tries=0
while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end on Exit" >&2
    status=1
fi
exit $status
