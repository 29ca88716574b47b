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
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done
export DISPLAY=":$n"
"$@"
