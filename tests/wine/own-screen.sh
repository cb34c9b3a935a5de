#!/bin/sh
# own-screen.sh WIDTHxHEIGHT COMMAND [ARG ...]
# Runs COMMAND on a virtual screen of its own of that size, in a Wine session
# of its own. Wine learns its monitors from the display of a session's first
# process, and clamps a window to the screen it is on, so a screen other
# than the test display needs both. The session's prefix is the test prefix
# ($WINEPREFIX) copied once beside it as "<prefix>-screen": the system
# folders under windows/ as hard links (only read, and alike in both), all
# that is written (the registry, users/, the .ini files) as copies of its own.
set -eu
size=$1
shift
main=${WINEPREFIX:?}
own="$main-screen"

if [ ! -f "$own/system.reg" ]; then
    rm -rf "$own.new"
    mkdir -p "$own.new/drive_c/windows"
    for entry in "$main"/* "$main"/.update-timestamp; do
        [ "$(basename "$entry")" = drive_c ] || cp -a "$entry" "$own.new/"
    done
    for entry in "$main"/drive_c/*; do
        [ "$(basename "$entry")" = windows ] || cp -a "$entry" "$own.new/drive_c/"
    done
    for entry in "$main"/drive_c/windows/*; do
        case $(basename "$entry") in
        system32 | syswow64 | winsxs) cp -al "$entry" "$own.new/drive_c/windows/" ;;
        *) cp -a "$entry" "$own.new/drive_c/windows/" ;;
        esac
    done
    mv "$own.new" "$own"
fi

WINEPREFIX=$own
export WINEPREFIX
# A session left over from an interrupted run would still see its old screen.
wineserver -k 2>/dev/null || true
# The session ends before its display does.
exec xvfb-run -a -s "-screen 0 ${size}x24" sh -c '
    status=0
    "$@" || status=$?
    wineserver -k 2>/dev/null || true
    exit $status
' sh "$@"
