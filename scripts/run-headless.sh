#!/usr/bin/env bash
# The headless half of run.sh, on the display xvfb-session.sh made: starts the program, waits for its tray
# icon, opens the sheet with a double click on the icon, takes pictures of the tray and of each page, and
# ends the program through the tray menu's Exit. Wine's environment (WINEPREFIX, W32N_WORLD) is set by the
# caller. Usage: run-headless.sh PROGRAM.exe UIDRIVER.exe SHOTDIR
set -euo pipefail
exe=$1
uidriver=$2
shots=$3
# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh"
ui_log=$shots/uidriver.log
names=(link-info configuration site-survey encryption advanced about)
mkdir -p "$shots"
rm -f "$shots"/*.png

"$wineserver" -p10 </dev/null >/dev/null 2>&1 || true

"$wine" "$exe" </dev/null >/dev/null 2>&1 &
program=$!
trap 'kill $program 2>/dev/null || true; "$wineserver" -k 2>/dev/null || true' EXIT

# The icon appears once the monitor thread has verified the card; the link follows about a second after.
ui wait-tray-icon --timeout 30000 >/dev/null || { echo "run: no tray icon appeared" >&2; exit 1; }
# The tray's picture comes first, while nothing covers it (the sheet opens over it), once the link icon has
# replaced the first one.
sleep 3
import -window root -crop 160x60+0+0 +repage "$shots/0-tray.png"
ui tray-click double
ui wait-window "$title" --class '#32770' --timeout 20000 >/dev/null || { echo "run: the sheet did not open" >&2; exit 1; }

for i in "${!names[@]}"; do
  ui select-page "$title" "$i" --class '#32770'
  # Link Info: the picture shows the link once the page's refresh has found it (every two seconds).
  if [ "$i" -eq 0 ]; then
    ui wait-text "$title" 1028 "Connected" --class '#32770' --timeout 8000 || true
  fi
  read -r x y w h < <(ui rect "$title" --class '#32770')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$((i + 1))-${names[$i]}.png"
done

ui click "$title" 2 --class '#32770'
ui wait-gone "$title" --class '#32770' --timeout 10000

# Exit from the tray menu; the program takes the sheet down itself and ends.
ui tray-click right
ui menu-choose-last --timeout 10000
for _ in $(seq 150); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "run: the program did not end after Exit" >&2
  exit 1
fi
wait "$program" 2>/dev/null || true
trap - EXIT
"$wineserver" -k 2>/dev/null || true
rm -f "$shots/uidriver.log"
echo "run: the program ended through its tray menu; pictures in $shots:"
ls "$shots"
