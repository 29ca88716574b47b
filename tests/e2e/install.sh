#!/usr/bin/env bash
# The installer, silently, under Wine. Usage:
#   install.sh CASE SETUP.exe W32N50.dll UIDRIVER.exe CARDINSTALL.exe PREFIX WORLD
# CASE prefix makes the test's own prefix (a Windows 2000 machine with the card installed, scripts/
# card-prefix.sh). CASE install_uninstall installs with /S and checks the program's files, the Start menu
# shortcut, the Run value and the uninstall entry; then it starts the installed program (with the card's
# driver-access library where the card's driver installation puts it, the system folder), waits for its tray
# icon, uninstalls with /S and checks that the running copy ended, its icon left the tray, and every file,
# shortcut and value the installer added is gone.
#
# Only 64-bit Wine is installed on our machines and it cannot run the shipped installer, a 32-bit program
# (checked: it fails to load the 32-bit ntdll.dll, which only the absent 32-bit Wine provides).
# SETUP.exe is therefore the amd64 build of the same installer script (packaging/installer/wlanutil.nsi with
# TEST_AMD64): the same sections, files, shortcuts, values and uninstaller, 64-bit stubs. The shipped 32-bit
# installer is covered by the import check instead.
set -euo pipefail
case_name=$1
setup=$2
driverlib=$3
uidriver=$4
installer=$5
prefix=$6
world=$7
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
use_prefix "$prefix"
product=$title
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\WlanUtil'

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "$case_name" = prefix ]; then
  "$root/scripts/card-prefix.sh" "$prefix" "$installer" || fail "the prefix cannot be prepared"
  exit 0
fi
[ "$case_name" = install_uninstall ] || fail "unknown case $case_name"
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || fail "no X display (run the tests inside scripts/xvfb-session.sh)"
[ -f "$setup" ] || fail "no installer $setup (built with the win32-x64 preset when makensis is installed)"

program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
}
trap cleanup EXIT
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true

unix_path() {
  "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'
}
reg_data() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^    $2    REG_SZ    //p"
}
# Waits until every Windows process of the prefix has ended (the uninstaller runs from a copy of itself in
# the temporary folder and returns at once); fails after $1 seconds.
wait_for_prefix() {
  timeout "$1" "$wineserver" -w || fail "$2"
}

# Where the installer puts things, as this prefix names them.
program_files=$(unix_path 'C:\Program Files')
[ -n "$program_files" ] && [ -d "$program_files" ] || fail "no Program Files folder in the prefix"
instdir="$program_files/WlanUtil"
common_programs=$("$wine" cmd /c echo '%ProgramData%' 2>/dev/null | tr -d '\r')
menudir="$(unix_path "$common_programs\\Microsoft\\Windows\\Start Menu\\Programs")/$product"
files=(wlanutil.exe README.txt guide.html uninstall.exe images/0-tray.png images/1-link-info.png
  images/2-configuration.png images/3-site-survey.png images/4-encryption.png images/5-advanced.png
  images/6-about.png)
shortcuts=("$product.lnk" "User's guide.lnk" "Uninstall.lnk")
# What an earlier run that failed half-way may have left goes first.
rm -rf "$instdir" "$menudir"
"$wine" reg delete "$run_key" /v WlanUtil /f >/dev/null 2>&1 || true
"$wine" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
wait_for_prefix 30 "the prefix's processes did not end before the test"
"$wine" reg query "$run_key" /v WlanUtil >/dev/null 2>&1 && fail "a Run value exists before the installation"

# Install silently: the program's files, the Start menu entries, the Run value (on by default), the
# uninstall entry.
timeout 120 "$wine" "$setup" /S </dev/null >/dev/null 2>&1 || fail "the installer failed (status $?)"
wait_for_prefix 60 "the installer's processes did not end"
for f in "${files[@]}"; do
  [ -s "$instdir/$f" ] || fail "the installer left no $instdir/$f"
done
cmp -s "$instdir/images/0-tray.png" "$root/docs/images/0-tray.png" || fail "the installed pictures are not ours"
for s in "${shortcuts[@]}"; do
  [ -s "$menudir/$s" ] || fail "the installer left no shortcut $menudir/$s"
done
# A shortcut keeps its target's path (in ANSI or UTF-16 characters).
{ strings -a "$menudir/$product.lnk"; strings -a -el "$menudir/$product.lnk"; } |
  grep -i 'WlanUtil\\wlanutil.exe' >/dev/null || fail "the Start menu shortcut does not lead to the program"
run_value=$(reg_data "$run_key" WlanUtil)
[ "$run_value" = '"C:\Program Files\WlanUtil\wlanutil.exe"' ] || fail "the Run value is \"$run_value\""
[ "$(reg_data "$uninstall_key" DisplayName)" = "$product 2.96.0.1" ] || fail "no uninstall entry"
echo "installed: ${#files[@]} files, ${#shortcuts[@]} shortcuts, Run value $run_value"

# A running copy of the installed program: the card's driver installation provides W32N50.dll.
system_dir=$(unix_path 'C:\windows\system32')
cp "$driverlib" "$system_dir/W32N50.dll"
W32N_WORLD=$("$wine" winepath -w "$world" 2>/dev/null | tr -d '\r')
export W32N_WORLD
ui tray-icon-gone --timeout 100 || fail "the tray shows an icon before the program runs"
"$wine" 'C:\Program Files\WlanUtil\wlanutil.exe' </dev/null >/dev/null 2>&1 &
program=$!
ui wait-tray-icon --timeout 30000 >/dev/null || fail "the installed program put no icon in the tray within 30 s"

# Uninstall silently: the running copy ends first, then everything the installer added goes. The uninstaller
# runs on from a copy of itself in the temporary folder: the prefix's processes end when it is done.
"$wine" 'C:\Program Files\WlanUtil\uninstall.exe' /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
for _ in $(seq 300); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the running copy still runs 30 s after the uninstaller started"
wait "$program" 2>/dev/null || true
program=
ui tray-icon-gone --timeout 10000 || fail "the icon stayed in the tray after the uninstaller ended the program"
wait_for_prefix 60 "the uninstaller did not end within 60 s"
rm -f "$system_dir/W32N50.dll"
for f in "${files[@]}"; do
  [ ! -e "$instdir/$f" ] || fail "the uninstaller left $instdir/$f"
done
[ ! -e "$instdir" ] || fail "the uninstaller left $instdir: $(ls -A "$instdir" | tr '\n' ' ')"
[ ! -e "$menudir" ] || fail "the uninstaller left the Start menu folder: $(ls -A "$menudir" | tr '\n' ' ')"
"$wine" reg query "$run_key" /v WlanUtil >/dev/null 2>&1 && fail "the uninstaller left the Run value"
"$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstaller left the uninstall entry"
echo "PASS: installed and uninstalled silently; the uninstaller ended the running copy"
