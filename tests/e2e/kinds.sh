#!/usr/bin/env bash
# The real program on each Windows kind under Wine. Usage:
#   kinds.sh CASE KIND PROGRAM.exe UIDRIVER.exe CARDINSTALL.exe PREFIX WORLD DRIVERFILE
# KIND is win95, win98, nt4 or win2000. CASE prefix makes the kind's prefix (scripts/card-prefix.sh: Wine's
# version set to the kind, the card installed as that kind has it). CASE story plays one user story on the
# kind: the icon reaches the tray, a double click opens the sheet with its six tabs, the user drags the
# Advanced page's thresholds down and closes with OK (the kind's parameters key holds them: text on 95, 98
# and 2000, numbers on NT 4), the About page shows the driver file's version from the file the kind reads,
# and Exit ends the program.
set -euo pipefail
case_name=$1
kind=$2
exe=$3
uidriver=$4
installer=$5
prefix=$6
world=$7
driver_file=$8
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
use_prefix "$prefix"
sheet=(--class '#32770')

fail() {
  echo "FAIL ($kind): $*" >&2
  exit 1
}

if [ "$case_name" = prefix ]; then
  "$root/scripts/card-prefix.sh" "$prefix" "$installer" "$driver_file" "$kind" || fail "no prefix"
  exit 0
fi

# Where the kind keeps the driver's parameters, and the driver file and its version text on the About page.
driver_version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\).*/\1 \2 \3 \4/p' \
  "$root/tools/driverfile/DriverFile.rc")
case $kind in
  win2000)
    index=7 params='HKLM\System\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007'
    driver=drivers/DAVARIVU.SYS shown=$(printf '%d.%d.%d.%d' $driver_version) ;;
  nt4)
    index=9 params='HKLM\System\CurrentControlSet\Services\RAZUR9\Parameters'
    driver=drivers/DAVARIVU.SYS shown=$(printf '%d.%d.%d.%d' $driver_version) ;;
  win98 | win95)
    index=7 params='HKLM\System\CurrentControlSet\Services\Class\Net\0007'
    driver=DIZOZUVA.ROR shown=$(printf '%d.%02d.%02d.%02d' $driver_version) ;;
  *) fail "unknown kind" ;;
esac

[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || fail "no X display (run the tests inside scripts/xvfb-session.sh)"
[ -f "$prefix/drive_c/windows/system32/$driver" ] || fail "the installer left no driver file $driver"
W32N_WORLD="Z:${world//\//\\}"
export W32N_WORLD

program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
}
trap cleanup EXIT
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p5 </dev/null >/dev/null 2>&1

# The card as its installation leaves it; on NT 4 this also puts the card back into the network card list
# that Wine refilled when its server started.
"$wine" reg delete "$params" /f >/dev/null 2>&1 || true
"$wine" "$installer" --kind "$kind" --index "$index" >/dev/null || fail "the card installer failed"

# "NAME TYPE DATA" of a value of the parameters key, as reg shows it.
reg_value() {
  "$wine" reg query "$params" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^    \($1\)    \([A-Z_]*\)    \(.*\)$/\1 \2 \3/p"
}
expect() {
  [ "$2" = "$3" ] || fail "$1 is \"$2\", not \"$3\""
}
open_sheet() {
  ui tray-click double
  ui wait-window "$title" "${sheet[@]}" --timeout 20000 >/dev/null || fail "a double click opened no sheet"
}
close_sheet() {
  ui click "$title" "$1" "${sheet[@]}"
  ui wait-gone "$title" "${sheet[@]}" --timeout 10000 || fail "the sheet stayed open"
}

ui tray-icon-gone --timeout 100 || fail "the tray shows an icon before the program runs"
"$wine" "$exe" </dev/null >/dev/null 2>&1 &
program=$!
ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray within 30 s"

open_sheet
pages=$(ui pages "$title" "${sheet[@]}") || fail "the sheet's pages cannot be listed"
expect "the tabs" "$(echo "$pages" | tr '\n' ',')" \
  '0 "Link Info",1 "Configuration",2 "Site Survey",3 "Encryption",4 "Advanced",5 "About",'

ui select-page "$title" 4 "${sheet[@]}" || fail "no Advanced page"
ui slider "$title" 1145 1024 "${sheet[@]}" >/dev/null || fail "the fragmentation slider did not reach 1024"
ui slider "$title" 1146 512 "${sheet[@]}" >/dev/null || fail "the RTS/CTS slider did not reach 512"
close_sheet 1
if [ "$kind" = nt4 ]; then
  expect "FragThresh" "$(reg_value FragThresh)" "FragThresh REG_DWORD 0x400"
  expect "RTSThresh" "$(reg_value RTSThresh)" "RTSThresh REG_DWORD 0x200"
else
  expect "FragThresh" "$(reg_value FragThresh)" "FragThresh REG_SZ 1024"
  expect "RTSThresh" "$(reg_value RTSThresh)" "RTSThresh REG_SZ 512"
fi

open_sheet
ui select-page "$title" 5 "${sheet[@]}" || fail "no About page"
expect "the driver version" "$(ui text "$title" 1106 "${sheet[@]}")" "$shown"
expect "the utility version" "$(ui text "$title" 1110 "${sheet[@]}")" "2.96.0.1"
close_sheet 2

ui tray-click right
ui menu-choose-last --timeout 10000 || fail "the tray menu did not take Exit"
for _ in $(seq 150); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program still runs 15 s after Exit"
wait "$program" 2>/dev/null || true
program=
ui tray-icon-gone --timeout 10000 || fail "the icon stayed in the tray after Exit"
echo "PASS: $kind"
