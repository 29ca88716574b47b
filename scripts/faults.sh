#!/usr/bin/env bash
# The fault matrix (docs/fault-matrix.md): every request site and registry write of the program crossed with
# the ways a driver and the registry fail, each cell a scenario of the host runner on virtual time. Builds
# the runner of a preset (host-asan by default, so that a sanitizer report fails its cell), runs every cell
# on two workers, prints "fault matrix: N cells, P passed, F failed" with the failing cells and the scenario
# to replay each, and writes the table.
#
#   scripts/faults.sh [--preset P] [--jobs N] [--report FILE] [--update-sites] [--only TEXT] [--no-build]
#
# --update-sites writes tests/faults/sites.txt anew from the traced actions (review the difference); --only
# runs the cells whose name holds TEXT (no report); --no-build uses the runner as built.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=host-asan
jobs=2
report=docs/fault-matrix.md
build=1
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --preset) preset=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --report) report=$2; shift 2 ;;
    --update-sites) extra+=(--update-sites); shift ;;
    --only) extra+=(--only "$2"); shift 2 ;;
    --no-build) build=0; shift ;;
    *) echo "usage: scripts/faults.sh [--preset P] [--jobs N] [--report FILE] [--update-sites] [--only TEXT] [--no-build]" >&2
       exit 2 ;;
  esac
done
if [ "$build" = 1 ]; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target wlanrun >/dev/null
fi
exec python3 tools/faultmatrix/faultmatrix.py --runner "build/$preset/tools/runner/wlanrun" --source . \
  --work "build/$preset/faults" --jobs "$jobs" --report "$report" "${extra[@]}"
