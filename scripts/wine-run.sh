#!/usr/bin/env bash
# Runs a Windows program of the win32-x64 build under 64-bit Wine, in a prefix of the build's own.
# Usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# The prefix is made on first use (about 15 s); a wineserver is kept alive for a minute after the last
# program so that later starts are quick, and ends by itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
use_prefix "$prefix"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.wlan-ready" ]; then
    rm -rf "$prefix"
    # Made without a display: a window of the first start-up could wait on the window manager.
    DISPLAY= "$wine" wineboot -i </dev/null >/dev/null 2>&1
    "$wineserver" -w
    touch "$prefix/.wlan-ready"
  fi
) 9>"$prefix.lock"
"$wineserver" -p60 </dev/null >/dev/null 2>&1 || true
# Wine's helper processes outlive the program; bring them up with no output attached, or they keep the
# caller's output pipe open (and ctest waiting) until the wineserver ends.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
