#!/bin/sh
# prefix.sh setup|cleanup PREFIX
# setup: creates the Wine prefix once, turns off crash dialogs (a crash must
# fail a test, not hang it), then starts a persistent wineserver and warms it,
# so each test pays milliseconds instead of seconds.
# cleanup: ends that wineserver.
set -eu
mode=$1
WINEPREFIX=$2
export WINEPREFIX
. "$(dirname "$0")/wine.env"

case "$mode" in
setup)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
    fi
    # R: is a CD drive, for a drive of another file system than NTFS: a
    # dosdevices link marked "cdrom" reports type 5 and "CDFS".
    if [ ! -e "$WINEPREFIX/dosdevices/r:" ]; then
        mkdir -p "$WINEPREFIX/cdrom-r"
        ln -sfn "$WINEPREFIX/cdrom-r" "$WINEPREFIX/dosdevices/r:"
        wine reg add 'HKLM\Software\Wine\Drives' /v r: /t REG_SZ /d cdrom /f >/dev/null 2>&1
        wineserver -w
    fi
    # Its output must not hold the test runner's pipe open.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
    ;;
cleanup)
    wineserver -k 2>/dev/null || true
    ;;
*)
    echo "usage: prefix.sh setup|cleanup PREFIX" >&2
    exit 2
    ;;
esac
