#!/usr/bin/env bash
# Runs the real Windows program (win32-x64 build) under 64-bit Wine for a while on the simulated card of
# tests/e2e/worlds/soak.world (the office of worlds/office.world without its fade): the card pulled and put
# back every 20 s, one suspend and resume at about the middle, and every minute the sheet opened from the
# tray icon, paged through and closed, all driven from outside (tools/uidriver) with the notices Windows
# sends. It counts the program's kernel handles, GDI objects and USER objects after every minute's sheet,
# and fails (exit status 1) unless the counts at the end are those at the start, the program still answers,
# its monitor still polls the card, and it ends on Exit. The plan and the checks are tests/e2e/soak.sh's;
# see docs/reliability.md ("Under Wine").
#
# Usage: scripts/wine-soak.sh [--build DIR] [--minutes N] [--kind KIND] [--no-build]
#   --build DIR   the win32-x64 build tree (default build/win32-x64, configured with the preset)
#   --kind KIND   the Windows the prefix answers as, with the card installed as it has it: win2000 (the
#                 default), win98 or win95. Windows 2000's program looks for the card again by itself after
#                 a failed poll; on 98 and 95 it waits for Windows' arrival notice, which the run then needs
#   --minutes N   minutes between the start count and the end count (default 10); the run takes about
#                 N minutes and 40 s more
#   --no-build    use the build tree as it is (its wlanutil.exe, uidriver.exe and cardinstall.exe)
# The Wine prefix is the build's own (DIR/wine-soak/prefix-KIND); the user's own prefix is never touched.
# Without a working DISPLAY the program runs on a private X display.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$root/build/win32-x64
minutes=10
kind=win2000
make=1
usage() {
    echo "usage: wine-soak.sh [--build DIR] [--minutes N] [--kind win2000|win98|win95] [--no-build]" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=${2:?--build needs a folder}; shift ;;
    --minutes) minutes=${2:?--minutes needs a number}; shift ;;
    --kind) kind=${2:?--kind needs a Windows kind}; shift ;;
    --no-build) make=0 ;;
    *) usage ;;
    esac
    shift
done
[[ $minutes =~ ^[1-9][0-9]*$ ]] || usage
# NT 4's network card list is volatile under Wine: its card would need installing in the run's own server
# session (see scripts/card-prefix.sh); not done here.
[[ $kind =~ ^(win2000|win98|win95)$ ]] || usage

"$here/setup.sh"
mkdir -p "$build"
build=$(cd "$build" && pwd)
if [ "$make" -eq 1 ]; then
    cmake --preset win32-x64 -S "$root" -B "$build" >/dev/null
    cmake --build "$build" -j2 --target wlanutil cardinstall uidriver
fi
for exe in app/wlanutil.exe tools/uidriver/uidriver.exe tools/cardinstall/cardinstall.exe; do
    [ -f "$build/$exe" ] || { echo "wine-soak: no $build/$exe (build it, or leave out --no-build)" >&2; exit 1; }
done
echo "wine-soak: the build in $build ($(grep -m1 '^CMAKE_BUILD_TYPE:' "$build/CMakeCache.txt" 2>/dev/null |
    cut -d= -f2)), wlanutil.exe of $(date -u -r "$build/app/wlanutil.exe" '+%Y-%m-%d %H:%M UTC')"

work=$build/wine-soak
prefix=$work/prefix-$kind
mkdir -p "$work"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
use_prefix "$prefix"
"$here/card-prefix.sh" "$prefix" "$build/tools/cardinstall/cardinstall.exe" "" "$kind"
# Windows paths through the prefix's drive Z:, which is the root folder.
world=$root/tests/e2e/worlds/soak.world
W32N_WORLD="Z:${world//\//\\}"
export W32N_WORLD

echo "wine-soak: $("$wine" --version), $minutes minute(s), Windows kind $kind, $(date -u '+%Y-%m-%d %H:%M:%S UTC')," \
    "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
run=("$root/tests/e2e/soak.sh" "$build" "$work" "$minutes")
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    "${run[@]}"
else
    "$here/xvfb-session.sh" "${run[@]}"
fi
