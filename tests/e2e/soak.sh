#!/usr/bin/env bash
# The half of scripts/wine-soak.sh that runs on the display: the real program under Wine for MINUTES
# minutes, with the card pulled and put back every 20 s, one suspend and resume at about the middle, and
# every minute its sheet opened from the tray icon, paged through and closed. What the program holds
# (kernel handles, GDI objects, USER objects) is counted after every minute's sheet; the count after the
# first minute's sheet is the start, the last minute's the end, and the two must be the same.
#
# Usage: soak.sh BUILD WORK MINUTES
#   BUILD    the win32-x64 build tree (app/wlanutil.exe, tools/uidriver/uidriver.exe)
#   WORK     folder for the fault rules, the card's trace, Wine's output and results.txt
#   MINUTES  minutes between the start and the end count
# Wine's environment (WINEPREFIX with the card installed, WINEDEBUG, W32N_WORLD) is set by the caller.
#
# The card's clock and ours: the card changes on time by the fault rules `at MS remove|insert|suspend|
# resume`, counted from the library's first open, which traces its first request at once. Our time 0 is
# the moment the trace file is first seen written (within a poll of 20 ms), and Windows' notices are sent
# on our clock with a margin over that: a removal 1.5 s after the pull and an arrival 1 s after the card is
# back (as the system tells programs after the driver), the suspend notices 0.5 s before the card sleeps
# and the resume notice 1 s after it wakes (the system asks and tells before it suspends and after it
# resumes).
#
# One minute (times from the minute's start): the card pulled at 10 s, 30 s and 50 s and each time back 3 s
# later; at 16 s, once the card is back and connected, the sheet is opened with a double click on the tray
# icon, its six pages are selected in turn, and it is closed with Cancel; then the count. In the middle
# minute (the start's for one minute) the card sleeps at 39 s and wakes at 43 s, after the minute's count.
set -euo pipefail

build=$1
work=$2
minutes=$3

# shellcheck source=../../scripts/wine-env.sh
. "$(dirname "$0")/../../scripts/wine-env.sh"
program=$build/app/wlanutil.exe
uidriver=$build/tools/uidriver/uidriver.exe
frame=(--class FwFrame)
sheet=(--class '#32770')
card_id='PCI\VEN_1260&DEV_3873&SUBSYS_5E0C7A93&REV_01\3&13C0B0C5&0&58'
log=$work/wine-output.log
ui_log=$log
trace=$work/trace.txt
faults=$work/faults.txt
results=$work/results.txt
oid_link=0xFF010199

# The schedule, in ms.
minute_ms=60000
pulls_at=(10000 30000 50000)
out_ms=3000
removal_notice_ms=1500
arrival_notice_ms=1000
sheet_at=16000
sheet_deadline=29000 # the cycle must be over before the next pull
middle=$((minutes / 2))
suspend_at=$((middle * minute_ms + 39000))
resume_at=$((suspend_at + 4000))
sleep_notice_ms=500
wake_notice_ms=1000

: >"$log"
: >"$results"
rm -f "$trace"

fail() {
    echo "wine-soak: FAIL: $*" >&2
    echo "wine-soak: Wine's output is in $log, the card's trace in $trace" >&2
    exit 1
}
say() { echo "wine-soak: $*"; }
result() { echo "$1=$2" >>"$results"; }

# Milliseconds since 1970 on our clock, from bash's own: no process is started to read it.
now_ms() {
    local t=$EPOCHREALTIME
    now=$((10#${t//[.,]/} / 1000))
}

# Sleeps until $1 ms after time 0; sets late to how far past it we already were.
until_ms() {
    now_ms
    local left=$((t0 + $1 - now))
    late=0
    if [ "$left" -gt 0 ]; then
        sleep "$(awk -v ms="$left" 'BEGIN { printf "%.3f", ms / 1000 }')"
    else
        late=$((-left))
    fi
}

# The card's rules, and our own plan: one "MS ACTION" a line, in time order.
plan=()
{
    echo "# made by tests/e2e/soak.sh: $minutes minutes after the first, pulls every 20 s, one suspend"
    for m in $(seq 0 "$minutes"); do
        for p in "${pulls_at[@]}"; do
            at=$((m * minute_ms + p))
            # The last minute ends with its count, after its sheet: no pull after that.
            [ "$m" -lt "$minutes" ] || [ "$p" -lt "$sheet_at" ] || continue
            echo "at $at remove"
            echo "at $((at + out_ms)) insert"
            plan+=("$((at + removal_notice_ms)) removal" "$((at + out_ms + arrival_notice_ms)) arrival")
        done
        plan+=("$((m * minute_ms + sheet_at)) sheet $m")
    done
    echo "at $suspend_at suspend"
    echo "at $resume_at resume"
    plan+=("$((suspend_at - sleep_notice_ms)) sleep" "$((resume_at + wake_notice_ms)) wake")
} >"$faults"
mapfile -t plan < <(printf '%s\n' "${plan[@]}" | sort -n -k1,1)
W32N_FAULTS="Z:${faults//\//\\}"
W32N_TRACE="Z:${trace//\//\\}"
export W32N_FAULTS W32N_TRACE

program_pid=
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    "$wineserver" -k 2>/dev/null || true
}
trap cleanup EXIT

for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "no X display"
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

# --- Start: the program, and time 0 at the card's first request ---
"$wine" "$program" </dev/null >>"$log" 2>&1 &
program_pid=$!
for _ in $(seq 1500); do
    [ -s "$trace" ] && break
    sleep 0.02
done
[ -s "$trace" ] || fail "the program asked the card nothing within 30 s"
now_ms
t0=$now
ui wait-tray-icon --timeout 30000 >/dev/null || fail "no icon in the tray"
say "started at $(date -u +%H:%M:%S); the card answers; time 0 is its first request"

# Whether the card's last answer to the link-state query, in its trace, says connected.
connected() {
    local last
    last=$(grep " query $oid_link " "$trace" | tail -n 1)
    [[ "$last" == *" status=0x00000000 value=0100"* ]]
}

# Waits (until $1 ms) for the card to be back in the program's eyes: the icon in the tray, and the link up.
wait_card_back() {
    local deadline=$1
    while :; do
        if connected && ui wait-tray-icon --timeout 100 >/dev/null; then
            return 0
        fi
        now_ms
        [ $((now - t0)) -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

sheet_cycle() {
    local page
    ui tray-click double || return 1
    ui wait-window "$title" "${sheet[@]}" --timeout 10000 >/dev/null || return 1
    for page in 0 1 2 3 4 5; do
        ui select-page "$title" "$page" "${sheet[@]}" --timeout 10000 || return 1
    done
    ui click "$title" 2 "${sheet[@]}" || return 1
    ui wait-gone "$title" "${sheet[@]}" --timeout 10000 || return 1
    # Hidden first, then destroyed, page by page, when the program's modal loop ends.
    ui wait-destroyed "$title" "${sheet[@]}" --timeout 10000 || return 1
}

# Counts what the program holds: sets counts to "HANDLES GDI USER" and sources to where they came from.
# The count is taken twice, a second apart, until two agree: what is let go a moment after the sheet
# (as its last windows go) is not counted as held.
count_objects() {
    local output previous=
    for _ in 1 2 3 4 5; do
        output=$(ui counts "$title" "${frame[@]}") || fail "the program's objects cannot be counted"
        counts=$(sed -n 1p <<<"$output")
        sources=$(sed -n 2p <<<"$output")
        [ "$counts" = "$previous" ] && return 0
        previous=$counts
        sleep 1
    done
    fail "the program's counts did not settle in 5 counts a second apart (the last: $counts)"
}

answers() {
    local ms
    ms=$(ui responds "$title" "${frame[@]}" --timeout 5000) || fail "the program's frame did not answer within 5 s"
    answer_ms=$ms
}

removals=0
arrivals=0
sleeps=0
wakes=0
cycles=0
max_late=0
late_notes=()
note_late() {
    [ "$late" -gt "$max_late" ] && max_late=$late
    [ "$late" -le 500 ] || late_notes+=("$1 ${late} ms late")
}

for step in "${plan[@]}"; do
    read -r at action arg <<<"$step"
    until_ms "$at"
    case $action in
    removal)
        note_late "removal notice at $at ms"
        ui notify-device "$title" removal "$card_id" "${frame[@]}" --timeout 5000 ||
            fail "the removal notice at $at ms was not taken"
        # The program takes its icon away on the notice (on Windows 2000 also on its own search for the card
        # after a failed poll).
        ui tray-icon-gone --timeout 3000 || fail "the icon stayed in the tray after the removal notice at $at ms"
        removals=$((removals + 1))
        ;;
    arrival)
        note_late "arrival notice at $at ms"
        ui notify-device "$title" arrival "$card_id" "${frame[@]}" --timeout 5000 ||
            fail "the arrival notice at $at ms was not taken"
        arrivals=$((arrivals + 1))
        ;;
    sleep)
        note_late "suspend notices at $at ms"
        ui notify-power "$title" sleep "${frame[@]}" --timeout 5000 || fail "the suspend notices were not taken"
        sleeps=$((sleeps + 1))
        ;;
    wake)
        note_late "resume notice at $at ms"
        ui notify-power "$title" wake "${frame[@]}" --timeout 5000 || fail "the resume notice was not taken"
        wakes=$((wakes + 1))
        ;;
    sheet)
        minute=$arg
        base=$((minute * minute_ms))
        wait_card_back $((base + sheet_at + 8000)) ||
            fail "minute $minute: the card was not back (icon and link) 8 s after the sheet was due"
        sheet_cycle || fail "minute $minute: the sheet cycle failed"
        now_ms
        took=$((now - t0 - base - sheet_at))
        [ $((now - t0)) -lt $((base + sheet_deadline)) ] ||
            fail "minute $minute: the sheet cycle ended $((now - t0 - base)) ms into the minute, after the next pull"
        cycles=$((cycles + 1))
        count_objects
        answers
        read -r handles gdi user <<<"$counts"
        say "minute $minute: handles $handles, GDI $gdi, USER $user; answered in $answer_ms ms; sheet cycle" \
            "$took ms; pulls $removals, arrivals $arrivals, suspends $sleeps, resumes $wakes"
        result "minute_$minute" "$handles $gdi $user $answer_ms $took"
        if [ "$minute" -eq 0 ]; then
            start_counts=$counts
            say "counted by $sources"
            result sources "$sources"
        fi
        end_counts=$counts
        ;;
    esac
done

# --- The end: still answering, still watching the card, and it ends when asked ---
answers
now_ms
wall_ms=$((now - t0))
last_poll=$(grep " query $oid_link " "$trace" | tail -n 1 | sed -n 's/^#[0-9]* t=\([0-9]*\) .*/\1/p')
first_poll=$(head -n 1 "$trace" | sed -n 's/^#[0-9]* t=\([0-9]*\) .*/\1/p')
[ -n "$last_poll" ] && [ -n "$first_poll" ] || fail "the card's trace holds no link-state query"
since_poll=$((wall_ms - (last_poll - first_poll)))
[ "$since_poll" -lt 5000 ] || fail "the monitor's last link-state query was about $since_poll ms ago"
# The card's answers while it was out: the program met it removed (0xC0010018), and asleep (0xC0010011).
met_removed=$(grep -c 'status=0xC0010018' "$trace" || true)
met_asleep=$(grep -c 'status=0xC0010011' "$trace" || true)
requests=$(wc -l <"$trace")
ui tray-click right
ui menu-choose-last --timeout 10000 || fail "the tray menu did not take Exit"
ended=0
for _ in $(seq 150); do
    kill -0 "$program_pid" 2>/dev/null || { ended=1; break; }
    sleep 0.1
done
[ "$ended" -eq 1 ] || fail "the program still runs 15 s after Exit"
wait "$program_pid" 2>/dev/null || true
program_pid=

result wall_ms "$wall_ms"
result start "$start_counts"
result end "$end_counts"
result removals "$removals"
result arrivals "$arrivals"
result suspends "$sleeps"
result resumes "$wakes"
result cycles "$cycles"
result max_late_ms "$max_late"
result requests "$requests"
result met_removed "$met_removed"
result met_asleep "$met_asleep"
result last_answer_ms "$answer_ms"
for note in ${late_notes[@]+"${late_notes[@]}"}; do
    say "late: $note"
done
say "the card was pulled $removals times and came back $arrivals times, slept $sleeps time(s); the sheet was" \
    "opened, paged through and closed $cycles times; $requests requests, $met_removed answered 'removed'," \
    "$met_asleep 'not ready'; the program answered at the end (in $answer_ms ms) and ended on Exit"
echo
echo "| minute | handles | GDI objects | USER objects | answered in | sheet cycle |"
echo "| --- | --- | --- | --- | --- | --- |"
for m in $(seq 0 "$minutes"); do
    read -r h g u a c < <(sed -n "s/^minute_$m=//p" "$results")
    echo "| $m$([ "$m" -eq 0 ] && echo ' (start)')$([ "$m" -eq "$minutes" ] && echo ' (end)') | $h | $g | $u | $a ms | $c ms |"
done
echo
read -r h0 g0 u0 <<<"$start_counts"
read -r h1 g1 u1 <<<"$end_counts"
say "start: handles $h0, GDI $g0, USER $u0; end ($minutes minute(s) later): handles $h1, GDI $g1, USER $u1"
if [ "$start_counts" != "$end_counts" ]; then
    fail "the program holds more or less at the end than at the start"
fi
say "PASS: the same counts at the start and at the end"
