#!/usr/bin/env bash
# The real window with texts at the register bound: resident memory, idle
# CPU and wake-ups, and key-to-screen latency, first with an empty stack and
# then with a 65536-character text in levels 1 to 19 and a 65535-character
# text in the log (which the keys "1" and BackSpace then lengthen to the
# bound and shorten again); between the two, with 21 digits in the log.
# Not a test: it prints figures.
#
#   bench/hostile.sh [path/to/morvane]      # default: build/morvane
#
# Needs: xvfb xdotool xclip x11-utils procps gcc libx11-dev libxtst-dev bc.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
MORVANE=${1:-$here/build/morvane}
PEERBENCH=${PEERBENCH:-$here/../shared/peerbench}
IDLE=${IDLE:-10}
PRESSES=${PRESSES:-30}
work=$(mktemp -d)
trap 'kill ${MPID:-} ${XPID:-} 2>/dev/null || true; rm -rf "$work"' EXIT

gcc -O2 -o "$work/xpeer" "$PEERBENCH/xpeer.c" -lX11 -lXtst
export XDG_RUNTIME_DIR=$work/runtime DBUS_SESSION_BUS_ADDRESS=disabled: QT_FONT_DPI=96 QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
XPID=$!
for _ in $(seq 100); do grep -q '[0-9]' "$work/display" && break; sleep 0.05; done
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
"$MORVANE" >/dev/null 2>&1 &
MPID=$!
for _ in $(seq 200); do
    WIN=$(xdotool search --onlyvisible --pid "$MPID" 2>/dev/null | head -n1) && [ -n "$WIN" ] && break
    sleep 0.02
done
eval "$(xdotool getwindowgeometry --shell "$WIN")"
read -r lw lh lx ly < <("$here/build/tests/e2e/morvane-e2e-probe" box nivel2 0)

click() {  # NAME INDEX: the middle of a control, from the layout
    local w h x y
    read -r w h x y < <("$here/build/tests/e2e/morvane-e2e-probe" box "$1" "${2:--1}")
    xdotool mousemove $((X + x + w / 2)) $((Y + y + h / 2)) click 1
    sleep 0.05
}

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$MPID/status"; }
# CPU time of every thread in nanoseconds, from the scheduler's own account.
cpu_ns() { cat /proc/"$MPID"/task/*/schedstat | awk '{s += $1} END {printf "%d\n", s}'; }
wakeups() { awk '/voluntary_ctxt_switches/ {s += $2} END {print s}' "/proc/$MPID/status"; }

measure() {  # LABEL
    sleep 2
    local rss c0 w0 c1 w1
    rss=$(rss_kb)
    c0=$(cpu_ns)
    w0=$(wakeups)
    sleep "$IDLE"
    c1=$(cpu_ns)
    w1=$(wakeups)
    "$work/xpeer" keys -w "$WIN" -k 1,BackSpace -n "$PRESSES" -g 60 -r "$lx,$ly,$lw,$lh" -o "$work/keys.txt" >/dev/null
    local median
    median=$(awk -F'ms=' '{split($2, a, " "); print a[1]}' "$work/keys.txt" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
    printf '| %s | %.1f | %.3f | %.1f | %s |\n' "$1" "$(echo "$rss / 1024" | bc -l)" \
        "$(echo "($c1 - $c0) / 1000000000 / $IDLE * 100" | bc -l)" \
        "$(echo "($w1 - $w0) / $IDLE" | bc -l)" "$median"
}

echo "| stack | RSS MB | idle CPU % of a core | context switches/s | key-to-log-line ms (median of $PRESSES) |"
echo "|---|---|---|---|---|"
xdotool mousemove $((X + lx + 10)) $((Y + ly + 5))
measure "empty"

# An ordinary number in the log: what any text that fills the line costs.
for d in 1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7 8 9 1 2 3; do click numero "$d"; done
xdotool mousemove $((X + lx + 10)) $((Y + ly + 5))
measure "21 digits in the log"
click tecla 65   # del>

# Levels 1 to 19: a number text of 65536 characters each; then the log.
printf '0.%065533d1' 0 | xclip -selection clipboard
sleep 0.3
for _ in $(seq 19); do
    click tecla 48   # pst
    click tecla 12   # ENTER
done
printf '%065535d' 7 | tr 0 7 | xclip -selection clipboard
sleep 0.3
click tecla 48
xdotool mousemove $((X + lx + 10)) $((Y + ly + 5))
measure "log and 19 levels at the bound"
