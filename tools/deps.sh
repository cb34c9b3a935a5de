#!/bin/sh
# Installs the Debian packages the build and the tests need, if any is missing.
# Usage: tools/deps.sh [extra-package ...]
set -eu
# wine gives the wine command, xauth is what xvfb-run needs; both are only
# recommendations of wine64 and xvfb, as are the fonts and X libraries Wine
# draws with, so recommendations are installed too.
pkgs="cmake g++ make googletest g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth xdotool imagemagick $*"
missing=""
for p in $pkgs; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
