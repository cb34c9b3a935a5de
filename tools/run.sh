#!/bin/sh
# Builds Tarvick.exe and starts it under Wine. Without a display it runs on a
# virtual one, saves a screenshot and prints its path.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh

cmake --preset mingw
cmake --build --preset mingw --target Tarvick
exe="$PWD/build/mingw/app/Tarvick.exe"

WINEPREFIX="$PWD/build/mingw/run-prefix"
export WINEPREFIX
. tests/wine/wine.env

if [ -n "${DISPLAY:-}" ]; then
    wine "$exe"
    wineserver -w
    exit 0
fi

shot="$PWD/build/mingw/tarvick-screenshot.png"
xvfb-run -a -s '-screen 0 1280x1024x24' sh -c '
    wine "$1" &
    i=0
    while [ $i -lt 60 ] && ! xdotool search --name "^Tarvick$" >/dev/null 2>&1; do sleep 1; i=$((i+1)); done
    sleep 2
    import -window root "$2"
    wineserver -k
' sh "$exe" "$shot"
echo "screenshot: $shot"
