#!/usr/bin/env bash
# Runs a Windows program of the win32-x64 build under 64-bit Wine, in a prefix of the build's own.
# Usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# The prefix is made on first use: a copy of a freshly made prefix that all our prefixes start from
# (build/wine-template, made once in about 15 s; a copy takes 2 s). A wineserver is kept alive for a minute
# after the last program so that later starts are quick, and ends by itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift
template=$(dirname "$here")/build/wine-template
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
mkdir -p "$(dirname "$prefix")" "$(dirname "$template")"

# make_once DIR COMMAND...: runs COMMAND to make DIR unless an earlier run finished it; one at a time.
make_once() {
  local dir=$1
  shift
  (
    flock 9
    if [ ! -f "$dir/.wlan-ready" ]; then
      rm -rf "$dir"
      "$@"
      touch "$dir/.wlan-ready"
    fi
  ) 9>"$dir.lock"
}

make_template() {
  use_prefix "$template"
  # Made without a display: a window of the first start-up could wait on the window manager.
  DISPLAY= "$wine" wineboot -i </dev/null >/dev/null 2>&1
  # Wine draws its windows' frames itself rather than leaving them to a window manager: the test display
  # has none, and a window left to one that is absent costs 2 s each time it is hidden (Wine waits for
  # the window manager to withdraw it).
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  "$wineserver" -w
}

copy_template() {
  make_once "$template" make_template
  cp -a "$template" "$prefix"
}

make_once "$prefix" copy_template
use_prefix "$prefix"
"$wineserver" -p60 </dev/null >/dev/null 2>&1 || true
# Wine's helper processes outlive the program; bring them up with no output attached, or they keep the
# caller's output pipe open (and ctest waiting) until the wineserver ends.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
