#!/usr/bin/env bash
# Runs the utility: the real Windows program (win32-x64 build) under 64-bit Wine, with the simulated card of
# worlds/office.world installed as on Windows 2000, in a Wine prefix of its own (build/run/wineprefix; the
# user's own prefix is never touched).
#
# Usage: scripts/run.sh [--headless] [--shots DIR] [--build DIR]
#   With a working DISPLAY the program runs there until you choose Exit from its tray icon's menu.
#   Otherwise (or with --headless) it runs on a private X display: the script double-clicks the tray icon,
#   takes a picture of each page and of the tray into DIR (default build/run/screenshots), and exits through
#   the tray menu.
#   --build DIR uses that win32-x64 build tree instead of build/win32-x64.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
headless=0
shots=$root/build/run/screenshots
build=$root/build/win32-x64
while [ $# -gt 0 ]; do
  case $1 in
    --headless) headless=1 ;;
    --shots) shots=${2:?--shots needs a folder}; shift ;;
    --build) build=${2:?--build needs a folder}; shift ;;
    *) echo "usage: run.sh [--headless] [--shots DIR] [--build DIR]" >&2; exit 2 ;;
  esac
  shift
done

"$here/setup.sh"

if [ "$build" = "$root/build/win32-x64" ]; then
  cmake --preset win32-x64 -S "$root" >/dev/null
fi
cmake --build "$build" -j2 --target wlanutil cardinstall uidriver driverfile
exe=$build/app/wlanutil.exe
installer=$build/tools/cardinstall/cardinstall.exe
uidriver=$build/tools/uidriver/uidriver.exe

run=$root/build/run
prefix=$run/wineprefix
mkdir -p "$run"
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
use_prefix "$prefix"

"$here/card-prefix.sh" "$prefix" "$installer" "$build/tools/driverfile/DAVARIVU.SYS"
# The world's Windows path through the prefix's drive Z:, which is the root folder. (Asking winepath would
# start the prefix's helpers again without a display.)
world=$root/worlds/office.world
W32N_WORLD="Z:${world//\//\\}"
export W32N_WORLD

if [ "$headless" -eq 0 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: the utility is in the tray; choose Exit from its menu to end it"
  "$wine" "$exe"
  exit 0
fi

# --- On a private display: show it, take pictures, exit through the tray ---
exec "$here/xvfb-session.sh" "$here/run-headless.sh" "$exe" "$uidriver" "$shots"
