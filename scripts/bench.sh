#!/usr/bin/env bash
# Benchmarks the idle program on the host build: builds wlan_idle_bench (host preset, build/host) and runs it.
# See docs/benchmarks.md for what it measures.
#
# Usage: scripts/bench.sh [--build DIR] [--minutes N] [--check]
#   --build DIR  configure and build in DIR (host settings) instead of the host preset's build/host
#   --minutes N  virtual minutes to measure (default 10)
#   --check      exit status 1 when a figure misses its goal
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$root/build/host
args=()
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=${2:?--build needs a folder}; shift ;;
    --minutes) args+=(--minutes "${2:?--minutes needs a number}"); shift ;;
    --check) args+=(--check) ;;
    *) echo "usage: bench.sh [--build DIR] [--minutes N] [--check]" >&2; exit 2 ;;
  esac
  shift
done

if [ "$build" = "$root/build/host" ]; then
  cmake --preset host -S "$root" >/dev/null
else
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWLAN_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2 --target wlan_idle_bench
"$build/bench/wlan_idle_bench" "${args[@]}"
