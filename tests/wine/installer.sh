#!/bin/sh
# installer.sh CPACK BUILD_DIR SAMPLE_INI FAKE_ICACLS
# Builds the ZIP and the installer with CPack, checks the ZIP's files, then in
# the test prefix: installs silently, starts the installed program, upgrades
# and reinstalls over an edited settings file and uninstalls; the edit must
# survive all three. Outside Program Files the installer must lock its folder
# before copying anything, leaving only its three entries, and stop when it
# cannot; it must refuse a folder that holds anything but its own previous
# installation; under Program Files it must leave the permissions alone.
# Needs WINEPREFIX and a display.
set -eu
cpack=$1
build=$2
sample=$3
fake_icacls=$4

work="$build/installer-test"
win_dir='C:\Tarvick Test'
dir="$WINEPREFIX/drive_c/Tarvick Test"
reinstall_win_dir='C:\Program Files\..\tarvick TEST'
default_win_dir='C:\Program Files\Tarvick'
default_dir="$WINEPREFIX/drive_c/Program Files/Tarvick"
# Through Program Files and out again: still outside it.
failed_win_dir='C:\Program Files\..\Tarvick Unlocked'
failed_dir="$WINEPREFIX/drive_c/Tarvick Unlocked"
foreign_win_dir='C:\Tarvick Foreign'
foreign_dir="$WINEPREFIX/drive_c/Tarvick Foreign"
raced_win_dir='C:\Tarvick Raced'
raced_dir="$WINEPREFIX/drive_c/Tarvick Raced"
link_win_dir='C:\Tarvick Link'
link_dir="$WINEPREFIX/drive_c/Tarvick Link"
ini="$dir/data/Tarvick/Tarvick.ini"
pos="$dir/data/Tarvick/Tarvick.pos"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvick.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvick'
# icacls.exe=n makes Wine run the stand-in below, not its built-in one.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};icacls.exe=n"
export WINEDLLOVERRIDES

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}
step() { echo "== $*"; }
# The files under a folder, relative to it, sorted, one a line.
files_under() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
has_key() { wine reg query "$key" /v InstallLocation >/dev/null 2>&1; }
# Checks that the run named $1, which ended with status $2, stopped as it
# should: exit code 2, no uninstall key, no shortcut.
stopped() {
    [ "$2" -eq 2 ] || fail "$1: exit status $2, not 2"
    ! has_key || fail "$1: an uninstall key was written"
    [ ! -e "$shortcut" ] || fail "$1: a Start-menu shortcut was made"
}

# Wine's icacls.exe changes nothing and Wine enforces no permissions, so a
# recording stand-in takes its place in the prefix's system folder for this
# test: what matters is what the installer asks for, and that it heeds the
# exit code. Wine's own comes back at the end.
icacls="$WINEPREFIX/drive_c/windows/system32/icacls.exe"
record="$WINEPREFIX/drive_c/icacls-record.txt"
TARVICK_RECORD='C:\icacls-record.txt'
export TARVICK_RECORD
cmp -s "$icacls" "$fake_icacls" || cp "$icacls" "$build/icacls-wine.exe"
trap 'cp "$build/icacls-wine.exe" "$icacls"' EXIT
cp "$fake_icacls" "$icacls"
# The command lines the stand-in received, one a line, without CR.
recorded() { if [ -f "$record" ]; then tr -d '\r' <"$record"; fi; }
sys='"C:\windows\system32\icacls.exe"'
owner_line() { printf '%s\n' "$sys \"$1\" /setowner *S-1-5-32-544 /T /L /Q"; }
lock_line() {
    printf '%s\n' "$sys \"$1\" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q"
}
# The command lines that lock the empty folder $1: the reset drops its own
# entries before the lock.
fresh_lines() { printf '%s\n' "$(owner_line "$1")" "$sys \"$1\" /reset /Q" "$(lock_line "$1")"; }
# The command lines that lock the folder $1 of the previous installation: the
# folder is locked before what it holds is reset to inherit from it alone.
upgrade_lines() { printf '%s\n' "$(owner_line "$1")" "$(lock_line "$1")" "$sys \"$1\\*\" /reset /T /L /Q"; }

[ -n "${DISPLAY:-}" ] || fail "no display: run under xvfb-run"

step "packages"
rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -G "ZIP;NSIS" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
zip=$(ls "$work"/Tarvick-*-win64.zip)
setup=$(ls "$work"/Tarvick-*-win64.exe)
top=$(basename "$zip" .zip)

(cd "$work" && cmake -E tar xf "$zip")
listed=$(cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort)
expected=$(printf '%s\n' "$top/README.txt" "$top/Tarvick.exe" "$top/data/Tarvick/Tarvick.ini")
[ "$listed" = "$expected" ] || fail "ZIP holds:
$listed"
cmp -s "$work/$top/data/Tarvick/Tarvick.ini" "$sample" || fail "the ZIP's settings file is not the sample"
# No program runs elevated until the user names one.
! tr -d '\r' <"$sample" | grep -q '^[[:blank:]]*2[[:blank:]]' || fail "the sample sets key 2"
# The exe is stripped when it is linked: the packages ship the build's own file.
exe="$build/app/Tarvick.exe"
cmp -s "$work/$top/Tarvick.exe" "$exe" || fail "the ZIP's Tarvick.exe is not the build's"

step "fresh state"
rm -rf "$dir" "$default_dir" "$failed_dir" "$foreign_dir" "$raced_dir" "$link_dir" "$shortcut" "$record"
wine reg delete "$key" /f >/dev/null 2>&1 || true

step "a lock that fails stops the installation"
status=0
# Split on purpose: NSIS reads /D= raw up to the end of the command line, and
# Wine would put quotes around one argument holding a blank.
# shellcheck disable=SC2086
TARVICK_EXIT=5 wine "$setup" /S /D=$failed_win_dir || status=$?
stopped "failed lock" "$status"
[ "$(recorded)" = "$(owner_line "$failed_win_dir")" ] || fail "icacls was run as: $(recorded)"
[ -z "$(files_under "$failed_dir")" ] || fail "installed although unlocked: $(files_under "$failed_dir")"
rm -rf "$failed_dir" "$record"

step "a folder holding other files is refused untouched"
mkdir -p "$foreign_dir/data/Tarvick"
printf '2 C:\\Users\\Public\\evil.exe\r\n' >"$foreign_dir/data/Tarvick/Tarvick.ini"
cp "$foreign_dir/data/Tarvick/Tarvick.ini" "$work/planted.ini"
printf 'planted\n' >"$foreign_dir/version.dll"
status=0
# shellcheck disable=SC2086
wine "$setup" /S /D=$foreign_win_dir || status=$?
stopped "foreign folder" "$status"
[ -z "$(recorded)" ] || fail "icacls was run on a foreign folder: $(recorded)"
[ "$(files_under "$foreign_dir")" = "$(printf '%s\n' data/Tarvick/Tarvick.ini version.dll)" ] ||
    fail "the foreign folder now holds: $(files_under "$foreign_dir")"
cmp -s "$foreign_dir/data/Tarvick/Tarvick.ini" "$work/planted.ini" || fail "the planted settings file changed"
rm -rf "$foreign_dir"

step "a link to another folder is refused untouched"
# Wine shows a Unix symbolic link as a reparse point, as Windows shows a junction.
mkdir -p "$work/link-target"
ln -s "$work/link-target" "$link_dir"
status=0
# shellcheck disable=SC2086
wine "$setup" /S /D=$link_win_dir || status=$?
stopped "link" "$status"
[ -z "$(recorded)" ] || fail "icacls was run on a link: $(recorded)"
[ -z "$(files_under "$work/link-target")" ] || fail "installed through a link: $(files_under "$work/link-target")"
rm "$link_dir"

step "a file put into the folder before the lock is caught"
status=0
# shellcheck disable=SC2086
TARVICK_PLANT="$raced_win_dir\\version.dll" wine "$setup" /S /D=$raced_win_dir || status=$?
stopped "raced folder" "$status"
[ "$(recorded)" = "$(fresh_lines "$raced_win_dir")" ] || fail "icacls was run as: $(recorded)"
[ "$(files_under "$raced_dir")" = "version.dll" ] || fail "installed beside a planted file: $(files_under "$raced_dir")"
rm -rf "$raced_dir" "$record"

step "install"
# shellcheck disable=SC2086
wine "$setup" /S /D=$win_dir || fail "installer exit status $?"
[ "$(recorded)" = "$(fresh_lines "$win_dir")" ] || fail "icacls was run as: $(recorded)"
rm -f "$record"
[ "$(files_under "$dir")" = "$(printf '%s\n' README.txt Tarvick.exe Uninstall.exe data/Tarvick/Tarvick.ini)" ] ||
    fail "installed: $(files_under "$dir")"
cmp -s "$dir/Tarvick.exe" "$exe" || fail "installed Tarvick.exe differs from the package's"
cmp -s "$ini" "$sample" || fail "installed settings file is not the sample"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$key" /v InstallLocation | tr -d '\r' | grep -qF "$win_dir" || fail "uninstall key lacks InstallLocation"

step "installed program starts"
wine "$dir/Tarvick.exe" &
app=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Tarvick$' >/dev/null || fail "no window named Tarvick"
wine taskkill /im Tarvick.exe >/dev/null 2>&1 || true
i=0
while kill -0 "$app" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.2; i=$((i + 1)); done
if kill -0 "$app" 2>/dev/null; then
    wine taskkill /f /im Tarvick.exe >/dev/null 2>&1 || true
    fail "Tarvick did not end on WM_CLOSE"
fi
wait "$app" || true
# The uninstaller must remove the window position, whether or not this run saved one.
[ -f "$pos" ] || printf 'position\r\n' >"$pos"

step "upgrade keeps the edited settings"
printf '# edited by the installer test\r\n2 C:\\Program Files\\Diag\\Diag.exe\r\n' >>"$ini"
cp "$ini" "$work/edited.ini"
printf 'an older build\n' >"$dir/Tarvick.exe"
rm "$dir/README.txt"
# No /D: an upgrade finds the folder of the last install.
wine "$setup" /S || fail "upgrade exit status $?"
cmp -s "$dir/Tarvick.exe" "$exe" || fail "upgrade did not replace Tarvick.exe"
[ -f "$dir/README.txt" ] || fail "upgrade did not restore README.txt"
cmp -s "$ini" "$work/edited.ini" || fail "upgrade changed the edited settings file"
[ ! -e "$default_dir" ] || fail "upgrade went to the default folder"
[ "$(recorded)" = "$(upgrade_lines "$win_dir")" ] || fail "the upgrade ran icacls as: $(recorded)"
rm -f "$record"

step "reinstall under another spelling of the folder keeps the edited settings"
# The recorded folder, spelt otherwise: still the previous installation.
# shellcheck disable=SC2086
wine "$setup" /S /D=$reinstall_win_dir || fail "reinstall exit status $?"
[ "$(recorded)" = "$(upgrade_lines "$reinstall_win_dir")" ] || fail "the reinstall ran icacls as: $(recorded)"
rm -f "$record"
cmp -s "$ini" "$work/edited.ini" || fail "reinstall changed the edited settings file"

step "uninstall keeps the edited settings"
# _? runs the uninstaller in place, so it has finished when wine returns (a
# running uninstaller cannot delete itself). Split like /D= above.
set -f
# shellcheck disable=SC2086
wine "$dir/Uninstall.exe" /S _?=$win_dir || fail "uninstaller exit status $?"
set +f
left=$(files_under "$dir" | grep -vx 'Uninstall.exe' || true)
[ "$left" = "data/Tarvick/Tarvick.ini" ] || fail "left after uninstall: $left"
cmp -s "$ini" "$work/edited.ini" || fail "uninstall changed the edited settings file"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
! has_key || fail "the uninstall key is still there"

rm -rf "$dir"

step "Program Files keeps its own permissions"
# No /D and no uninstall key: the default folder under Program Files.
wine "$setup" /S || fail "installer exit status $?"
[ -f "$default_dir/Tarvick.exe" ] || fail "nothing installed in the default folder"
[ -z "$(recorded)" ] || fail "icacls was run under Program Files: $(recorded)"
set -f
# shellcheck disable=SC2086
wine "$default_dir/Uninstall.exe" /S _?=$default_win_dir || fail "uninstaller exit status $?"
set +f
rm -rf "$default_dir"
echo "PASS"
