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

# Make the Wine prefix before there is a display: with one, the first start opens a window of its own.
env -u DISPLAY "$here/wine-run.sh" "$prefix" cmd.exe /c exit >/dev/null 2>&1
# Its helpers run without a display: end them, or the first viewer joins their session and shows nothing.
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null || true

display=
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=$n
    break
  fi
done
if [ -z "$display" ]; then
  echo "render-dialogs: no free X display number" >&2
  exit 1
fi

xvfb_pid=
cleanup() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
export DISPLAY=:$display
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

caption='^DAZE802.11d AVUD UDE Zadu Vuvivav$'
names=(link-info configuration site-survey encryption advanced about)

# One picture of page $1 (0..5), named $2; $3 is an extra viewer option.
shoot() {
  local page=$1 file=$2 extra=${3:-}
  "$here/wine-run.sh" "$prefix" "$exe" --page "$page" --close-after 60000 $extra >/dev/null 2>&1 </dev/null &
  local viewer=$!
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$caption" 2>/dev/null | head -n1) || true
  if [ -z "$window" ]; then
    echo "render-dialogs: the sheet did not appear for page $page" >&2
    kill "$viewer" 2>/dev/null || true
    return 1
  fi
  sleep 1.5 # let every control paint
  import -frame -window "$window" "$out/$file"
  xdotool key --window "$window" Escape 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$viewer" 2>/dev/null || break
    sleep 0.1
  done
  kill "$viewer" 2>/dev/null || true
  wait "$viewer" 2>/dev/null || true
  echo "$out/$file"
}

status=0
for i in "${!names[@]}"; do
  shoot "$i" "$i-${names[$i]}.png" || status=1
  shoot "$i" "$i-${names[$i]}-empty.png" --empty || status=1
done
exit $status
