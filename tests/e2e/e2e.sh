#!/usr/bin/env bash
# One end-to-end case of the real program under Wine. Usage:
#   e2e.sh CASE PROGRAM.exe UIDRIVER.exe CARDINSTALL.exe PREFIX WORLD [SHOTDIR DRIVERFILE]
# CASE prefix makes the Wine prefix (Windows 2000, the card installed as class subkey 0007); the other cases
# start the program on $DISPLAY, check what the user would see, and end every process they started. The
# page cases (page_*) play one user story on one page of the sheet: they start from the card's registry as
# the installer leaves it, check the texts the page shows, the registry and the card's state as the pages
# show it, and leave a picture of the sheet in SHOTDIR/page-NAME.png. DRIVERFILE is the card's driver file
# with its version resource, which the About case puts in place.
set -euo pipefail
case_name=$1
exe=$2
uidriver=$3
installer=$4
prefix=$5
world=$6
shots=${7:-}
driver_file=${8:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
use_prefix "$prefix"
sheet=(--class '#32770')
card_key='HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "$case_name" = prefix ]; then
  "$root/scripts/card-prefix.sh" "$prefix" "$installer" "$driver_file" || fail "the prefix cannot be prepared"
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

# --- The page cases' steps ---

# The card's registry entry as the installer leaves it: no profile, the driver's factory parameters.
fresh_card() {
  "$wine" reg delete "$card_key" /f >/dev/null 2>&1 || true
  "$wine" "$installer" --kind win2000 --index 7 >/dev/null || fail "the card installer failed"
}

# The program started on $world, and its sheet opened by a double click on the tray icon.
start_with_sheet() {
  start_program
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
  open_sheet
}

open_sheet() {
  ui tray-click double
  ui wait-window "$title" "${sheet[@]}" --timeout 20000 >/dev/null || fail "a double click opened no sheet"
}

# OK (1) or Cancel (2), and the sheet is gone.
close_sheet() {
  ui click "$title" "$1" "${sheet[@]}"
  ui wait-gone "$title" "${sheet[@]}" --timeout 10000 || fail "the sheet stayed open"
}

# Exit from the tray menu: the program ends and takes its icon with it.
exit_program() {
  ui tray-click right
  ui menu-choose-last --timeout 10000 || fail "the tray menu did not take Exit"
  wait_ended "$started" 150 || fail "the program still runs 15 s after Exit"
  ui tray-icon-gone --timeout 10000 || fail "the icon stayed in the tray after Exit"
}

select_page() {
  ui select-page "$title" "$1" "${sheet[@]}" || fail "page $1 cannot be selected"
}

text_of() {
  ui text "$title" "$1" "${sheet[@]}" || fail "control $1 cannot be read"
}

# Fails unless the actual value ($2) is the expected one ($3); $1 says what was looked at.
expect() {
  [ "$2" = "$3" ] || fail "$1 is \"$2\", not \"$3\""
}

expect_text() {
  expect "control $1" "$(text_of "$1")" "$2"
}

expect_state() {
  ui wait-state "$title" "$1" "$2" "${sheet[@]}" --timeout "${3:-5000}" || fail "control $1 is not $2"
}

# The text data of a REG_SZ value of the card's registry entry: $1 the key below the entry ("" for the
# entry itself, or \Profile\NAME), $2 the value's name.
reg_text() {
  local output
  output=$("$wine" reg query "$card_key$1" /v "$2" 2>/dev/null | tr -d '\r') || fail "no value $2 in $card_key$1"
  sed -n "s/^    $2    REG_SZ    //p" <<<"$output"
}

expect_reg() {
  expect "registry value $2 of $card_key$1" "$(reg_text "$1" "$2")" "$3"
}

# The version of a version resource script's FILEVERSION line, as 1.2.3.4.
rc_version() {
  sed -n 's/^ *FILEVERSION *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\).*/\1.\2.\3.\4/p' "$1"
}

# A picture of the sheet as it is on the screen, as SHOTDIR/page-NAME.png: as large as the sheet, with
# more than a few colours (a window that never painted is one flat colour).
shoot_sheet() {
  local file="$shots/page-$1.png" x y w h pw ph colours
  mkdir -p "$shots"
  rm -f "$file"
  read -r x y w h < <(ui rect "$title" "${sheet[@]}") || fail "the sheet has no rectangle"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$file" || fail "no picture taken"
  [ -s "$file" ] || fail "the picture $file is empty"
  read -r pw ph colours < <(identify -format '%w %h %k\n' "$file") || fail "$file is no picture"
  [ "$pw" = "$w" ] && [ "$ph" = "$h" ] || fail "the picture is ${pw}x${ph}, the sheet ${w}x${h}"
  [ "$colours" -ge 8 ] || fail "the picture of the sheet has only $colours colours"
}

# Every page case begins alike: the card as installed, the program started and its sheet open.
page_case_start() {
  [ -n "$shots" ] || fail "no folder for the pictures"
  fresh_card
  start_with_sheet
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
  ui wait-tray-icon --timeout 5000 >/dev/null || fail "the icon went with the sheet"
  ;;

tray_exit)
  start_program
  ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
  ui tray-click right
  ui menu-choose-last --timeout 10000 || fail "the tray menu did not take Exit"
  wait_ended "$started" 150 || fail "the program still runs 15 s after Exit"
  ui tray-icon-gone --timeout 10000 || fail "the icon stayed in the tray after Exit"
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

page_linkinfo)
  # The link to the world's access point, with a signal that swings between strong and fair: the page
  # shows the access point and follows the signal on its own.
  page_case_start
  select_page 0
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-10-00-01" "${sheet[@]}" --timeout 15000 ||
    fail "the page shows no link to the access point"
  expect_text 1002 OFFICE
  expect_text 1001 6
  expect_text 1003 Auto
  # Signal and quality come from one refresh: each check reads both from one listing of the controls.
  levels='Excellent (80%)|Very Good (66%)
Good (33%)|Poor (26%)'
  controls=$(ui controls "$title" "${sheet[@]}")
  shown() { sed -n "s/^$1 [A-Za-z]* visible enabled \"\(.*\)\"$/\1/p" <<<"$controls"; }
  before=$(shown 1101)
  grep -qxF "$before|$(shown 1130)" <<<"$levels" || fail "signal and quality: $before, $(shown 1130)"
  ui wait-change "$title" 1101 "$before" "${sheet[@]}" --timeout 12000 >/dev/null ||
    fail "the signal stayed at \"$before\""
  controls=$(ui controls "$title" "${sheet[@]}")
  after=$(shown 1101)
  [ "$after" != "$before" ] || fail "the signal went back to \"$before\""
  grep -qxF "$after|$(shown 1130)" <<<"$levels" || fail "signal and quality: $after, $(shown 1130)"
  # Bytes per second from the same refresh: the card sends 1500 and receives 6000 a second.
  sent=$(shown 1029)
  received=$(shown 1231)
  [[ "$sent" =~ ^[0-9]+$ && "$received" =~ ^[0-9]+$ ]] || fail "throughput: \"$sent\", \"$received\""
  [ "$sent" -gt 0 ] && [ "$received" -gt "$sent" ] || fail "throughput: sent $sent, received $received"
  expect_state 1015 enabled
  shoot_sheet linkinfo
  close_sheet 2
  exit_program
  ;;

page_config)
  # The card finds HOME, the stronger network. The user makes a profile "office" with the SSID OFFICE and
  # closes the sheet with OK: the profile is saved and becomes current, and the card moves to OFFICE.
  page_case_start
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-20-00-01" "${sheet[@]}" --timeout 15000 ||
    fail "the card did not join HOME"
  select_page 1
  # The first visit makes the profile "default" from the driver's parameters.
  expect_text 1185 default
  expect_text 1012 any
  expect_reg '\Profile\default' SSID any
  ui set-text "$title" 1185 office "${sheet[@]}" || fail "the profile name cannot be typed"
  expect_state 1187 enabled
  expect_state 1188 disabled
  ui click "$title" 1187 "${sheet[@]}"
  expect_state 1187 disabled 5000
  expect_state 1188 enabled
  expect_reg '' CurProfile office
  expect_reg '\Profile\office' SSID any
  ui set-text "$title" 1012 OFFICE "${sheet[@]}" || fail "the SSID cannot be typed"
  expect_state 1118 enabled
  expect_state 1117 enabled
  close_sheet 1
  expect_reg '' CurProfile office
  expect_reg '' SSID OFFICE
  expect_reg '\Profile\office' SSID OFFICE
  expect_reg '\Profile\office' NetworkType 1
  expect_reg '\Profile\default' SSID any
  open_sheet
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-10-00-02" "${sheet[@]}" --timeout 15000 ||
    fail "the card did not move to OFFICE: $(text_of 1028)"
  expect_text 1002 OFFICE
  expect_text 1001 11
  select_page 1
  expect_text 1185 office
  expect_text 1012 OFFICE
  expect_state 1118 disabled
  shoot_sheet config
  close_sheet 2
  exit_program
  ;;

page_sitesurvey)
  # Once the card has joined, the list shows what it heard on the way, the world's cells in the world's
  # order. "Search" empties the list, and three seconds later it shows them again.
  page_case_start
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-10-00-01" "${sheet[@]}" --timeout 15000 ||
    fail "the card did not join the access point"
  select_page 2
  expected="OFFICE	00-60-B3-10-00-01	86%	6	No	Infrastructure
OFFICE	00-60-B3-10-00-02	53%	11	Yes	Infrastructure
LAN party	02-00-00-00-00-09	40%	3	No	Ad-Hoc"
  rows=$(ui list-rows "$title" 1131 3 "${sheet[@]}" --timeout 10000) || fail "the list does not hold 3 rows"
  expect "the list" "$rows" "$expected"
  expect_state 1133 disabled
  ui click "$title" 1015 "${sheet[@]}"
  expect_state 1015 disabled 5000
  ui list-rows "$title" 1131 0 "${sheet[@]}" --timeout 5000 >/dev/null || fail "Search left rows in the list"
  rows=$(ui list-rows "$title" 1131 3 "${sheet[@]}" --timeout 10000) || fail "the search found no 3 cells"
  expect "the list after the search" "$rows" "$expected"
  expect_state 1015 enabled
  expect_state 1133 disabled
  shoot_sheet sitesurvey
  close_sheet 2
  exit_program
  ;;

page_encryption)
  # On a machine with no profile yet, the user turns on 64-bit WEP with the key of the office annex as key
  # 2, the transmit key, and closes the sheet with OK. The driver's parameters keep the keys in upper case
  # (no profile key is made while no profile is current); the card leaves the open access point for the
  # annex; the page shows the keys again.
  page_case_start
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-10-00-01" "${sheet[@]}" --timeout 15000 ||
    fail "the card did not join the open access point"
  select_page 3
  expect_text 1120 Disabled
  expect_state 1031 disabled
  ui select-item "$title" 1120 "64 Bits" "${sheet[@]}" || fail "no 64-bit WEP"
  expect_state 1031 enabled
  expect_state 1031 visible
  expect_state 1136 hidden
  keys=(A1A2A3A4A5 0102030405 c1c2c3c4c5 D1D2D3D4D5)
  key_ids=(1031 1037 1043 1048)
  for i in 0 1 2 3; do
    ui set-text "$title" "${key_ids[$i]}" "${keys[$i]}" "${sheet[@]}" || fail "key $((i + 1)) cannot be typed"
  done
  ui select-item "$title" 1036 2 "${sheet[@]}" || fail "key 2 cannot be the transmit key"
  expect_state 1127 enabled
  close_sheet 1
  stored=(A1A2A3A4A5 0102030405 C1C2C3C4C5 D1D2D3D4D5)
  expect_reg '' WepReq 2
  expect_reg '' DefaultKeyId 2
  for i in 0 1 2 3; do
    expect_reg '' "WEP64_KEY_$((i + 1))" "${stored[$i]}"
    expect_reg '' "WEP_KEY_$((i + 1))" "${stored[$i]}"
  done
  expect_reg '' DefaultKeys "$(printf '%s' "${stored[@]}")"
  if "$wine" reg query "$card_key\Profile" >/dev/null 2>&1; then fail "a profile key was made"; fi
  open_sheet
  ui wait-text "$title" 1028 "Connected - BSSID = 00-60-B3-10-00-02" "${sheet[@]}" --timeout 15000 ||
    fail "the card did not join the annex: $(text_of 1028)"
  expect_text 1001 11
  select_page 3
  expect_text 1120 "64 Bits"
  expect_text 1036 2
  for i in 0 1 2 3; do
    expect_text "${key_ids[$i]}" "${stored[$i]}"
  done
  expect_state 1127 disabled
  shoot_sheet encryption
  close_sheet 2
  exit_program
  ;;

page_advanced)
  # The user has looked at the Configuration page, which made the profile "default", and drags both
  # thresholds down, then OK: the profile and the driver's parameters hold the new thresholds, and the
  # page shows them when the sheet opens again.
  page_case_start
  select_page 1
  expect_text 1185 default
  select_page 4
  expect_text 1149 2432
  expect_state 1148 visible
  expect_text 1150 2432
  expect "the deny box" "$(ui check "$title" 1151 "${sheet[@]}")" unchecked
  expect_state 1151 disabled
  ui slider "$title" 1145 1024 "${sheet[@]}" >/dev/null || fail "the fragmentation slider did not reach 1024"
  ui slider "$title" 1146 512 "${sheet[@]}" >/dev/null || fail "the RTS/CTS slider did not reach 512"
  expect_text 1149 1024
  expect_state 1148 hidden
  expect_text 1150 512
  expect_state 1147 hidden
  expect_state 1144 enabled
  close_sheet 1
  for below in '' '\Profile\default'; do
    expect_reg "$below" FragThresh 1024
    expect_reg "$below" RTSThresh 512
  done
  open_sheet
  select_page 4
  expect_text 1149 1024
  expect_text 1150 512
  expect_state 1148 hidden
  expect_state 1144 disabled
  shoot_sheet advanced
  close_sheet 2
  exit_program
  ;;

page_about)
  # The versions: the utility's own (its version resource), the driver file's (the card installer put it
  # in the drivers folder) and the firmware of the world's card.
  [ -f "$prefix/drive_c/windows/system32/drivers/DAVARIVU.SYS" ] || fail "the installer left no driver file"
  page_case_start
  select_page 5
  expect_text 1080 "$title"
  expect_text 1081 "Copyright (C) 2001-2003. All rights reserved."
  expect_text 1110 "$(rc_version "$root/res/wlanutil.rc")"
  expect_text 1106 "$(rc_version "$root/tools/driverfile/DriverFile.rc")"
  expect_text 1112 "$(sed -n 's/^card .*firmware=\([0-9.]*\).*/\1/p' "$world")"
  expect_state 1161 hidden
  shoot_sheet about
  close_sheet 2
  exit_program
  ;;

*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
