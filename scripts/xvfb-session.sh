#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb): Wine's windows need a display. No window manager runs
# there; our Wine prefixes draw their windows' frames themselves (scripts/wine-run.sh).
# Usage: xvfb-session.sh COMMAND [ARGS...]
set -euo pipefail
for n in $(seq 90 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
# A cold machine can take seconds to bring the server up; without it every Wine test would fail on its own.
for _ in $(seq 300); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "xvfb-session: Xvfb :$n ended before it took connections" >&2; exit 1; }
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$n" ] || { echo "xvfb-session: Xvfb :$n took no connections within 30 s" >&2; exit 1; }
export DISPLAY=":$n"
"$@"
