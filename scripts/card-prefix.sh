#!/usr/bin/env bash
# Prepares a Wine prefix of our own as a Windows 2000 machine with the card installed, for the run command,
# the end-to-end tests and the Wine benchmark. Usage: card-prefix.sh PREFIX CARDINSTALL.exe [DRIVERFILE]
# The prefix is made without a display (wine-run.sh) and set up once: Windows 2000, no crash dialog that
# would wait for a click, the card's driver installation as class subkey 0007 with DRIVERFILE, when given,
# as its driver file (tools/driverfile: its version is what the About page shows). At the end the prefix's
# helpers, started without a display, are ended, so that the next program starts them on the display it
# runs on.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=${1:?usage: card-prefix.sh PREFIX CARDINSTALL.exe [DRIVERFILE]}
installer=${2:?usage: card-prefix.sh PREFIX CARDINSTALL.exe [DRIVERFILE]}
driverfile=${3:-}
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

env -u DISPLAY "$here/wine-run.sh" "$prefix" cmd.exe /c exit >/dev/null 2>&1
if [ ! -f "$prefix/.wlan-card" ]; then
  env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine' /v Version /d win2k /f >/dev/null 2>&1
  env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  driver=()
  [ -n "$driverfile" ] && driver=(--driver-file "$("$wine" winepath -w "$driverfile" 2>/dev/null | tr -d '\r')")
  if ! env -u DISPLAY "$wine" "$installer" --kind win2000 --index 7 "${driver[@]}" >/dev/null; then
    echo "card-prefix: the card installer failed" >&2
    exit 1
  fi
  touch "$prefix/.wlan-card"
fi
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
