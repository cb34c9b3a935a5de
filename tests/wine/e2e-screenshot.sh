#!/bin/sh
# e2e-screenshot.sh TARVICK_EXE ARTIFACTS_DIR [WIDTHxHEIGHT ...]
# Starts the program from a folder of its own and keeps a screenshot of its
# window at start: on the test's display as ARTIFACTS_DIR/tarvick-start.png,
# then on a screen of each size given, of its own (own-screen.sh), as
# ARTIFACTS_DIR/tarvick-start-WIDTHxHEIGHT.png. Checks in each that the face
# between the controls is navy and that the window has the height it is
# fitted to, then ends the program with a click on "Exit".
# Runs under the test's WINEPREFIX on the test's display.
set -eu
here=$(cd "$(dirname "$0")" && pwd)

# shoot EXE SHOT: one start on the current display and Wine session.
shoot() {
    exe=$1
    shot=$2
    work=$(mktemp -d "${TMPDIR:-/tmp}/tarvick shot.XXXXXX")
    pid=
    trap 'if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT

    prog="$work/prog dir"
    mkdir -p "$prog/data/Tarvick" "$(dirname "$shot")"
    cp "$exe" "$prog/Tarvick.exe"
    printf '# screenshot\r\n2 C:\\nothing.exe\r\n' >"$prog/data/Tarvick/Tarvick.ini"
    rm -f "$shot"

    wine "$prog/Tarvick.exe" </dev/null >/dev/null 2>&1 &
    pid=$!

    win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarvick$' | head -n 1) || true
    if [ -z "$win" ]; then
        echo "no visible Tarvick window" >&2
        return 1
    fi
    eval "$(xdotool getwindowgeometry --shell "$win")"
    screen=$(xdotool getdisplaygeometry)

    # A point of the face between the two columns of switches, in design
    # units of the 720 x 755 face scaled to the window.
    x=$((WIDTH * 335 / 720))
    y=$((HEIGHT * 330 / 755))
    rgb() {
        convert "$shot" -format "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
    }

    # The program puts the pointer on "Exit" once its window is painted, at
    # design (600..680, 650..700); then it draws "Exit" green. The shot is
    # taken once two in a row are alike.
    on_exit() {
        eval "$(xdotool getmouselocation --shell)"
        [ $((X - wx)) -ge $((WIDTH * 600 / 720)) ] && [ $((X - wx)) -lt $((WIDTH * 680 / 720)) ] &&
            [ $((Y - wy)) -ge $((HEIGHT * 650 / 755)) ] && [ $((Y - wy)) -lt $((HEIGHT * 700 / 755)) ]
    }
    wx=$X
    wy=$Y
    tries=0
    while [ $tries -lt 100 ] && ! on_exit; do
        tries=$((tries + 1))
        sleep 0.1
    done
    colour=
    tries=0
    while [ $tries -lt 50 ]; do
        if import -window "$win" "$shot.new.png" 2>/dev/null; then
            if [ -f "$shot" ] && compare -metric AE "$shot" "$shot.new.png" null: 2>/dev/null; then
                colour=$(rgb)
                [ "$colour" = "0,0,128" ] && break
            fi
            mv "$shot.new.png" "$shot"
        fi
        tries=$((tries + 1))
        sleep 0.2
    done
    rm -f "$shot.new.png"
    echo "screenshot: $shot (${WIDTH}x${HEIGHT} on a screen of ${screen% *}x${screen#* }), face at $x,$y is $colour"
    status=0
    if [ "$colour" != "0,0,128" ]; then
        echo "the face is not navy" >&2
        status=1
    fi
    # The client area is 85 % of the screen's height; the frame adds a little.
    fitted=$((${screen#* } * 85 / 100))
    if [ "$HEIGHT" -lt "$fitted" ] || [ "$HEIGHT" -gt $((fitted + 80)) ]; then
        echo "the window is $HEIGHT high, not fitted to the screen ($fitted)" >&2
        status=1
    fi

    # "Exit" sits at design (600..680, 650..700).
    xdotool mousemove --window "$win" $((WIDTH * 640 / 720)) $((HEIGHT * 675 / 755)) click 1
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the program did not end on Exit" >&2
        status=1
    fi
    return $status
}

if [ "$1" = --shoot ]; then
    shoot "$2" "$3"
    exit
fi

exe=$1
artifacts=$2
shift 2
status=0
shoot "$exe" "$artifacts/tarvick-start.png" || status=1
for size in "$@"; do
    sh "$here/own-screen.sh" "$size" sh "$here/e2e-screenshot.sh" --shoot "$exe" "$artifacts/tarvick-start-$size.png" ||
        status=1
done
exit $status
