#!/usr/bin/env bash
# One end-to-end case of the real program under Wine. Usage:
#   e2e.sh CASE PROGRAM.exe UIDRIVER.exe CARDINSTALL.exe PREFIX WORLD
# CASE prefix makes the Wine prefix (Windows 2000, the card installed as class subkey 0007); the other cases
# start the program on $DISPLAY, check what the user would see, and end every process they started.
set -euo pipefail
case_name=$1
exe=$2
uidriver=$3
installer=$4
prefix=$5
world=$6
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
title='DAZE802.11d AVUD UDE Zadu Vuvivav'

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# uidriver's console output comes with Windows line ends.
ui() {
  local status=0
  "$wine" "$uidriver" "$@" </dev/null | tr -d '\r' || status=$?
  return $status
}

if [ "$case_name" = prefix ]; then
  env -u DISPLAY "$root/scripts/wine-run.sh" "$prefix" cmd.exe /c exit >/dev/null 2>&1
  if [ ! -f "$prefix/.wlan-card" ]; then
    env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine' /v Version /d win2k /f >/dev/null 2>&1
    env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    env -u DISPLAY "$wine" "$installer" --kind win2000 --index 7 || fail "the card installer failed"
    touch "$prefix/.wlan-card"
  fi
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  exit 0
fi

[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || fail "no X display (run the tests inside scripts/xvfb-session.sh)"
W32N_WORLD=$("$wine" winepath -w "$world" 2>/dev/null | tr -d '\r')
export W32N_WORLD

programs=()
cleanup() {
  for p in "${programs[@]}"; do kill "$p" 2>/dev/null || true; done
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
}
trap cleanup EXIT
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p5 </dev/null >/dev/null 2>&1

start_program() {
  "$wine" "$exe" </dev/null >/dev/null 2>&1 &
  programs+=($!)
  started=$!
}

# Waits at most $2 tenths of a second for process $1 to end.
wait_ended() {
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  return 1
}

case $case_name in
tray_icon)
  # The monitor thread finds the card of the world and adds the icon; nothing is in the tray before.
  ui tray-icon-gone --timeout 100 || fail "the tray shows an icon before the program runs"
  start_program
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray within 30 s"
  kill -0 "$started" 2>/dev/null || fail "the program ended after adding its icon"
  ;;

sheet)
  start_program
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
  ui tray-click double
  ui wait-window "$title" --class '#32770' --timeout 20000 >/dev/null || fail "a double click opened no sheet"
  pages=$(ui pages "$title" --class '#32770') || fail "the sheet's pages cannot be listed"
  expected='0 "Link Info"
1 "Configuration"
2 "Site Survey"
3 "Encryption"
4 "Advanced"
5 "About"'
  [ "$pages" = "$(printf '%s' "$expected")" ] || fail "pages: $(echo "$pages" | tr '\n' ',')"
  controls=$(ui controls "$title" --class '#32770')
  for button in '1 Button visible enabled "OK"' '2 Button visible enabled "Cancel"' '9 Button visible enabled "Help"'; do
    grep -qxF "$button" <<<"$controls" || fail "no button: $button"
  done
  # The sheet has no Apply button (ID_APPLY_NOW), or only a hidden one.
  if grep -q '^12321 Button visible' <<<"$controls"; then fail "the sheet shows an Apply button"; fi
  ui click "$title" 2 --class '#32770'
  ui wait-gone "$title" --class '#32770' --timeout 10000 || fail "Cancel left the sheet open"
  kill -0 "$started" 2>/dev/null || fail "the program ended with its sheet"
  ui wait-tray-icon --timeout 1000 >/dev/null || fail "the icon went with the sheet"
  ;;

tray_exit)
  start_program
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
  ui tray-click right
  ui menu-choose-last --timeout 10000 || fail "the tray menu did not take Exit"
  wait_ended "$started" 150 || fail "the program still runs 15 s after Exit"
  ui tray-icon-gone --timeout 2000 || fail "the icon stayed in the tray after Exit"
  ;;

second_copy)
  start_program
  first=$started
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
  start_program
  second=$started
  ui wait-window "$title" --class '#32770' --timeout 20000 >/dev/null || fail "the second copy showed no message"
  controls=$(ui controls "$title" --class '#32770')
  grep -qF '"The application is already running."' <<<"$controls" || fail "message box: $controls"
  ui click "$title" 1 --class '#32770'
  wait_ended "$second" 100 || fail "the second copy still runs after its message"
  kill -0 "$first" 2>/dev/null || fail "the first copy ended"
  ;;

*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
