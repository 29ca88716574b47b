#!/usr/bin/env bash
# Benchmarks the real Windows program (win32-x64 build) under 64-bit Wine, on the simulated card of
# worlds/office.world: the CPU time of the idle wlanutil.exe (card connected, sheet closed), and its time
# from start to tray icon against a bare tray program started the same way. See docs/benchmarks.md.
#
# Usage: scripts/bench-wine.sh [--build DIR] [--seconds N] [--runs N] [--check]
#   --build DIR   the win32-x64 build tree (default build/win32-x64, configured with the preset)
#   --seconds N   length of the idle window (default 60)
#   --runs N      timed starts of each program (default 5)
#   --check       exit status 1 when a figure misses its goal (idle CPU time, the start-to-icon ratio, and
#                 no start of 2000 ms or more)
# The Wine prefix is the build's own (DIR/bench-wine/wineprefix); the user's own prefix is never touched.
# Without a working DISPLAY the programs run on a private X display.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$root/build/win32-x64
seconds=60
runs=5
check=0
usage() {
    echo "usage: bench-wine.sh [--build DIR] [--seconds N] [--runs N] [--check]" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=${2:?--build needs a folder}; shift ;;
    --seconds) seconds=${2:?--seconds needs a number}; shift ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --check) check=1 ;;
    *) usage ;;
    esac
    shift
done
[[ $seconds =~ ^[1-9][0-9]*$ ]] || usage
[[ $runs =~ ^[1-9][0-9]*$ ]] || usage

# Goals: idle CPU time per 60 s of the window, and start-to-icon time as a multiple of the bare program's.
idleGoalMsPerMinute=30
ratioGoal=1.5

"$here/setup.sh"
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake --preset win32-x64 -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target wlanutil cardinstall uidriver wlan_bare_tray wlan_tray_watch

work=$build/bench-wine
prefix=$work/wineprefix
mkdir -p "$work"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
use_prefix "$prefix"

"$here/card-prefix.sh" "$prefix" "$build/tools/cardinstall/cardinstall.exe"
# Windows paths through the prefix's drive Z:, which is the root folder. (Asking winepath would start the
# prefix's helpers again without a display.)
world=$root/worlds/office.world
W32N_WORLD="Z:${world//\//\\}"
export W32N_WORLD
trace=$work/warm-up-trace.txt
traceWindows="Z:${trace//\//\\}"

results=$work/results.txt
measure=("$root/bench/wine/measure.sh" "$build" "$seconds" "$runs" "$results" "$trace" "$traceWindows")
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    "${measure[@]}"
else
    "$here/xvfb-session.sh" "${measure[@]}"
fi

# --- The table ---
declare -A r
while IFS='=' read -r name value; do
    r[$name]=$value
done <"$results"
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v < g) ? "met" : "missed" }'; }
idleGoalMs=$(awk -v s="$seconds" -v g="$idleGoalMsPerMinute" 'BEGIN { printf "%g", g * s / 60 }')
ratio=$(awk -v p="${r[program_median]}" -v b="${r[bare_median]}" 'BEGIN { printf "%.2f", p / b }')
idleVerdict=$(verdict "${r[idle_cpu_ms]}" "$idleGoalMs")
ratioVerdict=$(verdict "$ratio" "$ratioGoal")
# A start of 2000 ms or more is one whose first search for the card found nothing (it ran before start-up had
# worked out the Windows kind) and whose second, 2000 ms later, found it. The monitor thread's first search
# waits for start-up, so the goal is none.
slowStarts=$(awk '{ for (i = 1; i <= NF; i++) if ($i >= 2000) n++ } END { print n + 0 }' <<<"${r[program_times]}")
slowVerdict=$([ "$slowStarts" -eq 0 ] && echo met || echo missed)

row() { printf '| %-58s | %-34s | %-9s | %-7s |\n' "$@"; }
echo
echo "The real program under Wine ($(date -u +%Y-%m-%d), $(uname -m), $(nproc) cores, $("$wine" --version)," \
    "load average ${r[load_before]} before, ${r[load_after]} after)"
echo
row Figure Measured Goal Verdict
row --- --- --- ---
row "Idle CPU time of wlanutil.exe over ${seconds} s (utime+stime)" \
    "${r[idle_cpu_ms]} ms (${r[idle_ticks]} x $((1000 / r[clk_tck])) ms clock ticks)" "< ${idleGoalMs} ms" "$idleVerdict"
row "Start to tray icon, wlanutil.exe (median of ${runs})" "${r[program_median]} ms" "" ""
row "Start to tray icon, bare tray program (median of ${runs})" "${r[bare_median]} ms" "" ""
row "Start to tray icon, ratio wlanutil.exe / bare" "$ratio" "< ${ratioGoal}" "$ratioVerdict"
row "Starts of wlanutil.exe of 2000 ms or more" "${slowStarts} of ${runs}" "0" "$slowVerdict"
echo
echo "Start to tray icon, every timed start (ms): wlanutil.exe ${r[program_times]}; bare ${r[bare_times]}"
echo "Idle window: ${r[idle_wall_ms]} ms of wall time, process ${r[idle_pid]} (${r[idle_cmdline]})"
echo "  CPU time by the scheduler's accounting: ${r[idle_sched_ms]} ms; per thread (CPU ms, voluntary /" \
    "involuntary context switches):"
IFS=';' read -r -a threadRows <<<"${r[idle_threads]}"
for threadRow in "${threadRows[@]}"; do
    read -r tid ms vol invol <<<"$threadRow"
    echo "    thread $tid: $ms ms, $vol / $invol"
done
echo "  the prefix's wineserver: ${r[server_cpu_ms]} ms CPU; the card's link came up ${r[link_after_icon_ms]} ms after" \
    "the icon in the traced warm-up start"

if [ "$check" -eq 1 ] && { [ "$idleVerdict" != met ] || [ "$ratioVerdict" != met ] || [ "$slowVerdict" != met ]; }; then
    exit 1
fi
exit 0
