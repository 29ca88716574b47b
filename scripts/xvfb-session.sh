#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb with twm): Wine's windows need a display, and without a window
# manager every window close costs about two seconds. Usage: xvfb-session.sh COMMAND [ARGS...]
set -euo pipefail
for n in $(seq 90 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $twm $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done
export DISPLAY=":$n"
twm >/dev/null 2>&1 &
twm=$!
"$@"
