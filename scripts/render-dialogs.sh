#!/usr/bin/env bash
# Takes a picture of each of the six property pages as Windows draws them: the win32-x64 build's
# dialogview under Wine, on a private X display (Wine draws the window frames: scripts/wine-run.sh).
#
# Usage: render-dialogs.sh OUTDIR [BUILDDIR]
#   OUTDIR    where the pictures go (0-link-info.png ... 5-about.png, and -empty variants)
#   BUILDDIR  a win32-x64 build tree that holds dialogview.exe; without it the script configures and
#             builds the win32-x64 preset in build/win32-x64.
# Needs Xvfb, xdotool, ImageMagick's import and 64-bit Wine (see the notes on Windows on Linux).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:?usage: render-dialogs.sh OUTDIR [BUILDDIR]}
build=${2:-}

if [ -z "$build" ]; then
  build=$root/build/win32-x64
  cmake --preset win32-x64 -S "$root" >/dev/null
  cmake --build "$build" -j2 --target dialogview
fi
exe=$(find "$build" -name dialogview.exe -print -quit)
if [ -z "$exe" ]; then
  echo "render-dialogs: no dialogview.exe in $build (build the target dialogview)" >&2
  exit 1
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
prefix=$build/wineprefix

# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# The first pass makes the Wine prefix before there is a display (with one, the first start opens a window
# of its own), ends its helpers (or the first viewer joins their display-less session and shows nothing),
# and runs the second pass on a private display.
if [ -z "${WLAN_RENDER_ON_DISPLAY:-}" ]; then
  env -u DISPLAY "$here/wine-run.sh" "$prefix" cmd.exe /c exit >/dev/null 2>&1
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
  WLAN_RENDER_ON_DISPLAY=1 exec "$here/xvfb-session.sh" "$0" "$out" "$build"
fi
trap 'WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true; wait 2>/dev/null || true' EXIT

caption="^$title\$"
names=(link-info configuration site-survey encryption advanced about)

# One picture of page $1 (0..5), named $2; $3 is an extra viewer option.
shoot() {
  local page=$1 file=$2 extra=${3:-}
  "$here/wine-run.sh" "$prefix" "$exe" --page "$page" --close-after 60000 $extra >/dev/null 2>&1 </dev/null &
  local viewer=$!
  local window status=0
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$caption" 2>/dev/null | head -n1) || true
  if [ -n "$window" ]; then
    sleep 1.5 # let every control paint
    # import waits for ever on a window that went away meanwhile.
    timeout 10 import -frame -window "$window" "$out/$file" || status=$?
  else
    status=1
  fi
  # The viewer ends with every process of the prefix: when its sheet was closed with Escape instead, the
  # next viewer's sheet often went away at once, every other picture was missing and import waited for ever.
  kill "$viewer" 2>/dev/null || true
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
  wait "$viewer" 2>/dev/null || true
  if [ $status != 0 ]; then
    echo "render-dialogs: no picture of page $page" >&2
    return 1
  fi
  echo "$out/$file"
}

status=0
for i in "${!names[@]}"; do
  shoot "$i" "$i-${names[$i]}.png" || status=1
  shoot "$i" "$i-${names[$i]}-empty.png" --empty || status=1
done
exit $status
