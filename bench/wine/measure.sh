#!/usr/bin/env bash
# The half of scripts/bench-wine.sh that runs on the display: times start to tray icon for the bare tray
# program and for wlanutil.exe, then measures the idle utility's CPU time. Wine's environment (WINEPREFIX,
# WINEDEBUG, W32N_WORLD) is set by the caller. Progress goes to the standard error, the figures to RESULTS,
# one NAME=VALUE a line.
#
# Usage: measure.sh BUILD SECONDS RUNS RESULTS TRACE TRACE_WINDOWS
#   BUILD          the win32-x64 build tree (wlanutil.exe, uidriver.exe, baretray.exe, traywatch.exe)
#   SECONDS        length of the idle window
#   RUNS           starts of each program that are timed (after one start of each to warm up)
#   RESULTS        file for the figures
#   TRACE          file for the card's request trace of the warm-up start, and TRACE_WINDOWS its Windows name
set -euo pipefail

build=$1
seconds=$2
runs=$3
results=$4
trace=$5
traceWindows=$6

# shellcheck source=../../scripts/wine-env.sh
. "$(dirname "$0")/../../scripts/wine-env.sh"
program=$build/app/wlanutil.exe
bare=$build/bench/wine/baretray.exe
watcher=$build/bench/wine/traywatch.exe
uidriver=$build/tools/uidriver/uidriver.exe
work=$(dirname "$results")
log=$work/wine-output.log
ui_log=$log
fifo=$work/traywatch.fifo
settleSeconds=5
: >"$log"
: >"$results"

# Programs started here and not yet seen to end; whatever is left is ended when the script stops.
running=()
cleanup() {
    local pid
    for pid in ${running[@]+"${running[@]}"}; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
    rm -f "$fifo"
}
trap cleanup EXIT

fail() {
    echo "bench-wine: $*" >&2
    echo "bench-wine: Wine's output is in $log" >&2
    exit 1
}

say() { echo "bench-wine: $*" >&2; }

result() { echo "$1=$2" >>"$results"; }

forget() {
    local pid=$1 kept=() p
    for p in ${running[@]+"${running[@]}"}; do
        [ "$p" = "$pid" ] || kept+=("$p")
    done
    running=(${kept[@]+"${kept[@]}"})
}

# Sets now to the microseconds since 1970, from bash's own clock: no process is started to read it.
now_us() {
    local t=$EPOCHREALTIME
    now=$((10#${t//[.,]/}))
}

# start_to_icon EXE: starts EXE under Wine the way a user's shell does, and sets icon_ms to the time from
# start to its icon in the tray, icon_us to the moment the icon was seen, and started to the pid of the
# started process, which keeps running. The watcher is made ready (empty tray, polling) before the clock
# starts; it reports the wall-clock time it saw the icon, on the same system clock as ours.
start_to_icon() {
    local exe=$1 line seen t0 watch in
    rm -f "$fifo"
    mkfifo "$fifo"
    "$wine" "$watcher" --timeout 30000 </dev/null >"$fifo" 2>>"$log" &
    watch=$!
    exec {in}<"$fifo"
    if ! read -r -t 60 -u "$in" line || [ "${line%$'\r'}" != ready ]; then
        kill "$watch" 2>/dev/null || true
        fail "the tray watcher did not get ready (the tray shows an icon?)"
    fi
    now_us
    t0=$now
    "$wine" "$exe" </dev/null >>"$log" 2>&1 &
    started=$!
    running+=("$started")
    if ! read -r -t 60 -u "$in" seen; then
        kill "$watch" 2>/dev/null || true
        fail "no tray icon from $(basename "$exe") within 30 s"
    fi
    exec {in}<&-
    wait "$watch" || fail "the tray watcher failed"
    seen=${seen%$'\r'}
    icon_us=$seen
    icon_ms=$(awk -v a="$seen" -v b="$t0" 'BEGIN { printf "%.1f", (a - b) / 1000 }')
}

# Waits (bounded) until the process has ended.
wait_exit() {
    local pid=$1
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        return 1
    fi
    wait "$pid" 2>/dev/null || true
    forget "$pid"
}

# Ends the program that shows the only tray icon through its tray menu (Exit is the last entry), as a user
# would, and waits until the process has ended and the icon is gone.
end_through_tray() {
    local pid=$1 name=$2
    ui tray-click right >/dev/null || fail "$name: no tray icon to click"
    ui menu-choose-last --timeout 10000 >/dev/null || fail "$name: no tray menu"
    wait_exit "$pid" || fail "$name did not end after Exit"
    ui tray-icon-gone --timeout 10000 >/dev/null || fail "$name left its icon in the tray"
}

# The pid of the Linux process that runs EXE: the loader started as PID execs into the program, so it is
# PID itself when its command line names EXE; otherwise the one process whose command line is EXE's path.
program_pid() {
    local pid=$1 exe=$2 p
    if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$(basename "$exe")"; then
        echo "$pid"
        return 0
    fi
    for p in /proc/[0-9]*; do
        if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -qF "$exe"; then
            basename "$p"
            return 0
        fi
    done
    return 1
}

# Fields of /proc/PID/stat after the command name (which may hold spaces): the 1st is field 3 (state).
stat_field() {
    local rest
    rest=$(<"/proc/$1/stat")
    rest=${rest##*) }
    local -a f
    read -r -a f <<<"$rest"
    echo "${f[$(($2 - 3))]}"
}

cpu_ticks() { echo $(($(stat_field "$1" 14) + $(stat_field "$1" 15))); }

# One line per thread: tid, nanoseconds on the processor, voluntary and involuntary context switches.
thread_snapshot() {
    local t
    for t in /proc/"$1"/task/*; do
        printf '%s %s %s %s\n' "$(basename "$t")" "$(cut -d' ' -f1 "$t/schedstat")" \
            "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$t/status")" \
            "$(awk '/^nonvoluntary_ctxt_switches/ { print $2 }' "$t/status")"
    done | LC_ALL=C sort
}

# The wineserver of our prefix: it works in a folder named after the prefix's device and inode
# (server-DEV-INODE in hexadecimal, under a temporary folder of the user's).
wineserver_pid() {
    local suffix p
    suffix=/server-$(printf '%x' "$(stat -c %d "$WINEPREFIX")")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")
    for p in /proc/[0-9]*; do
        case $(readlink "$p/cwd" 2>/dev/null) in
        *"$suffix")
            if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q 'wineserver.* -p'; then
                basename "$p"
                return 0
            fi
            ;;
        esac
    done
    return 1
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# --- The display, and Wine kept up for the whole measurement ---
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "no X display"
"$wineserver" -p </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

# The machine's load (1-minute average), before and after: other work on it shows in every figure.
result load_before "$(cut -d' ' -f1 /proc/loadavg)"

# --- Start to tray icon ---
# One start of each first: the first start of a program in a prefix loads its files from disk and sets up
# caches; it is not timed.
say "warming up (one start of each program)"
start_to_icon "$bare"
say "  $(basename "$bare"): ${icon_ms} ms (not counted)"
end_through_tray "$started" "$(basename "$bare")"
# The utility's warm-up start is traced: its card requests tell when the link comes up after the icon. The
# idle run is not traced (writing the trace costs the process a few milliseconds a minute), and waits
# longer than that before it measures.
rm -f "$trace"
export W32N_TRACE=$traceWindows
start_to_icon "$program"
unset W32N_TRACE
say "  $(basename "$program"): ${icon_ms} ms (not counted)"
linkMs=
for _ in $(seq 300); do
    if [ -f "$trace" ] && grep -q 'query 0xFF010199 .* value=0100' "$trace"; then
        now_us
        linkMs=$(((now - icon_us) / 1000))
        break
    fi
    sleep 0.1
done
[ -n "$linkMs" ] || fail "the card did not connect within 30 s of the icon (see $trace)"
[ "$linkMs" -lt $((settleSeconds * 1000)) ] ||
    fail "the card connected ${linkMs} ms after the icon, later than the idle run's settle of ${settleSeconds} s"
result link_after_icon_ms "$linkMs"
end_through_tray "$started" "$(basename "$program")"

bareTimes=()
programTimes=()
for round in $(seq "$runs"); do
    # Alternate which program goes first, so that neither always follows the same one.
    if [ $((round % 2)) -eq 1 ]; then order=("$bare" "$program"); else order=("$program" "$bare"); fi
    for exe in "${order[@]}"; do
        start_to_icon "$exe"
        say "  round $round, $(basename "$exe"): ${icon_ms} ms"
        if [ "$exe" = "$bare" ]; then bareTimes+=("$icon_ms"); else programTimes+=("$icon_ms"); fi
        end_through_tray "$started" "$(basename "$exe")"
    done
done
result bare_times "${bareTimes[*]}"
result program_times "${programTimes[*]}"
result bare_median "$(printf '%s\n' "${bareTimes[@]}" | median)"
result program_median "$(printf '%s\n' "${programTimes[@]}" | median)"

# --- Idle CPU time ---
# The card is connected (it was this long after the icon in the traced start, and the radio world is the
# same) and the sheet is closed: the program only watches the link.
say "idle run: start, settle ${settleSeconds} s after the icon, measure ${seconds} s"
start_to_icon "$program"
loader=$started
pid=$(program_pid "$loader" "$program") || fail "no process runs $(basename "$program")"
result idle_pid "$pid"
result idle_cmdline "$(tr '\0' ' ' <"/proc/$pid/cmdline" | sed 's/ *$//')"
sleep "$settleSeconds"

clk=$(getconf CLK_TCK)
server=$(wineserver_pid || true)
start=$(stat_field "$pid" 22)
ticks0=$(cpu_ticks "$pid")
threads0=$(thread_snapshot "$pid")
serverTicks0=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
now_us
t0=$now
sleep "$seconds"
ticks1=$(cpu_ticks "$pid")
threads1=$(thread_snapshot "$pid")
serverTicks1=$([ -n "$server" ] && cpu_ticks "$server" || echo 0)
now_us
t1=$now
[ "$(stat_field "$pid" 22)" = "$start" ] || fail "the program's process changed during the idle window"

result idle_wall_ms "$(((t1 - t0) / 1000))"
result idle_ticks "$((ticks1 - ticks0))"
result idle_cpu_ms "$(((ticks1 - ticks0) * 1000 / clk))"
result clk_tck "$clk"
# Per thread, from the scheduler's own accounting (nanoseconds): threads alive at both ends of the window.
threadLines=$(LC_ALL=C join <(echo "$threads0") <(echo "$threads1") |
    awk -v pid="$pid" '{ printf "%s%s %.3f %d %d;", $1, ($1 == pid ? "(main)" : ""), ($5 - $2) / 1e6, $6 - $3, $7 - $4 }')
result idle_threads "$threadLines"
result idle_sched_ms "$(LC_ALL=C join <(echo "$threads0") <(echo "$threads1") | awk '{ s += $5 - $2 } END { printf "%.3f", s / 1e6 }')"
result server_cpu_ms "$([ -n "$server" ] && echo $(((serverTicks1 - serverTicks0) * 1000 / clk)) || echo unknown)"

end_through_tray "$loader" "$(basename "$program")"
result load_after "$(cut -d' ' -f1 /proc/loadavg)"
trap - EXIT
"$wineserver" -k 2>/dev/null || true
rm -f "$fifo"
