#!/usr/bin/env bash
# The project's one test command: sets up what a fresh Debian 12 machine lacks, builds every preset and runs
# every test (host, host with sanitizers, the Windows builds: tests under 64-bit Wine, import checks).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in host host-asan win32-x64 win32-i686; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

status=0
for preset in host host-asan win32-i686; do
  echo "=== $preset: tests"
  ctest --preset "$preset" || status=1
done
# The Windows tests run under 64-bit Wine on a private X display.
echo "=== win32-x64: tests under Wine"
scripts/xvfb-session.sh ctest --preset win32-x64 || status=1
WINEPREFIX="$PWD/build/win32-x64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
