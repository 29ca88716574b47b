#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb with twm): Wine's windows need a display, and without a window
# manager every window close costs about two seconds. Usage: xvfb-session.sh COMMAND [ARGS...]
# twm is told to place new windows itself: by default it waits for someone to place each one by hand, and
# holds the whole X server meanwhile.
set -euo pipefail
for n in $(seq 90 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
twm=
twmrc=$(mktemp)
trap 'kill ${twm:-} $xvfb 2>/dev/null || true; rm -f "$twmrc"' EXIT
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' >"$twmrc"
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done
export DISPLAY=":$n"
twm -f "$twmrc" >/dev/null 2>&1 </dev/null &
twm=$!
"$@"
