#!/usr/bin/env bash
# Prepares a Wine prefix of our own as a Windows 2000 machine with the card installed, for the run command,
# the end-to-end tests and the Wine benchmark. Usage: card-prefix.sh PREFIX CARDINSTALL.exe [DRIVERFILE [KIND]]
# KIND (win2000 when not given, win98, win95 or nt4) is the Windows version the prefix answers as and the
# way the card is installed: class subkey 0007, or on nt4 network card 9 with service RAZUR9 (above the
# entries Wine makes for the host's network interfaces). Wine keeps NT 4's network card list volatile: the
# nt4 card's entry there is gone when the prefix's server ends, and whoever runs the program installs the
# card again in the server session the program runs in.
# The prefix is made without a display (wine-run.sh) and set up once: Windows 2000, no crash dialog that
# would wait for a click, the card's driver installation as class subkey 0007 with DRIVERFILE, when given,
# as its driver file (tools/driverfile: its version is what the About page shows). At the end the prefix's
# helpers, started without a display, are ended, so that the next program starts them on the display it
# runs on.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
usage='usage: card-prefix.sh PREFIX CARDINSTALL.exe [DRIVERFILE [KIND]]'
prefix=${1:?$usage}
installer=${2:?$usage}
# Wine takes only an absolute prefix; given another, it would make nothing and say nothing.
case $prefix in
  /*) ;;
  *) prefix=$PWD/$prefix ;;
esac
driverfile=${3:-}
kind=${4:-win2000}
case $kind in
  win2000) version=win2k index=7 ;;
  nt4) version=nt40 index=9 ;;
  win98) version=win98 index=7 ;;
  win95) version=win95 index=7 ;;
  *) echo "card-prefix: unknown kind $kind" >&2; exit 2 ;;
esac
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
use_prefix "$prefix"

env -u DISPLAY "$here/wine-run.sh" "$prefix" cmd.exe /c exit >/dev/null 2>&1
if [ ! -f "$prefix/.wlan-card" ]; then
  env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  driver=()
  [ -n "$driverfile" ] && driver=(--driver-file "$("$wine" winepath -w "$driverfile" 2>/dev/null | tr -d '\r')")
  if ! env -u DISPLAY "$wine" "$installer" --kind "$kind" --index "$index" "${driver[@]}" >/dev/null; then
    echo "card-prefix: the card installer failed" >&2
    exit 1
  fi
  touch "$prefix/.wlan-card"
fi
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
