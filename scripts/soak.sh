#!/usr/bin/env bash
# The soak (docs/reliability.md): the program on each Windows kind for hours of virtual time under a seeded
# random world and user, its invariants checked as it runs, and its open handles and live heap at rest
# compared hour by hour. A failure prints the seed and the step, and leaves the steps up to it as a script
# the host runner replays (build/<preset>/soak/replay-<kind>-<seed>.script).
#
#   scripts/soak.sh [--hours N] [--seed S] [--kind K] [--rest-every M] [--preset P] [--no-build]
#
# Without --kind it runs win95, win98, nt4 and win2000, two at a time. --rest-every M brings everything to
# rest and counts every M minutes (default 60; the test command's one hour counts every 30).
set -euo pipefail
cd "$(dirname "$0")/.."
hours=1
seed=1
kinds=(win95 win98 nt4 win2000)
preset=host
build=1
rest=60
while [ $# -gt 0 ]; do
  case "$1" in
    --hours) hours=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --kind) kinds=("$2"); shift 2 ;;
    --rest-every) rest=$2; shift 2 ;;
    --preset) preset=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    *) echo "usage: scripts/soak.sh [--hours N] [--seed S] [--kind K] [--rest-every M] [--preset P] [--no-build]" >&2
       exit 2 ;;
  esac
done
if [ "$build" = 1 ]; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target wlansoak >/dev/null
fi
out="build/$preset/soak"
mkdir -p "$out"
world="$PWD/tests/soak/soak.world"
soak() {
  local kind=$1
  "build/$preset/tools/soak/wlansoak" --world "$world" --kind "$kind" --hours "$hours" --seed "$seed" \
    --rest-every "$rest" \
    --replay "$out/replay-$kind-$seed.script" >"$out/$kind-$seed.log" 2>&1
}
pids=()
status=0
for kind in "${kinds[@]}"; do
  soak "$kind" &
  pids+=($!)
  # Two at a time: the machine has two cores.
  if [ ${#pids[@]} -ge 2 ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
for kind in "${kinds[@]}"; do
  if grep -q "FAILED" "$out/$kind-$seed.log"; then
    cat "$out/$kind-$seed.log"
  else
    grep '^soak' "$out/$kind-$seed.log"
  fi
done
exit $status
