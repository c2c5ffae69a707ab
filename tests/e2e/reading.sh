#!/usr/bin/env bash
# What a new user reads in the real window, in a 12-hour locale (en_US):
# long values in the memory list shrunk, or ended after a "…" with the
# exponent kept, exactly as the offscreen list draws them, and the whole
# value in a tooltip over its row. Screenshots: clock12.png (the stack view
# with its clock) and memory-long.png (the memory list with the tooltip).
source "$(dirname "$0")/lib.sh"

export E2E_RENDER_LOCALE=en_US.UTF-8
e2e_start_x
e2e_start_morvane LC_ALL=$E2E_RENDER_LOCALE LANG=$E2E_RENDER_LOCALE

# The stack view with the clock in the 12-hour format (the clock's fitting
# is checked offscreen, where the time can be set).
e2e_point_at_display
sleep 0.6
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/clock12.png"
echo "ok: the 12-hour clock ($ARTIFACTS/clock12.png)"

# -1234567890123456 (its sign changed: -1.23456789012346E+15) and a 24-digit
# number stored with ">MEM", and 2.5.
e2e_point_at_display
xdotool type --delay 20 1234567890123456
xdotool type '#'
click tecla 55  # >MEM
e2e_point_at_display
xdotool type --delay 20 123456789012345678901234
click tecla 55
click tecla 65  # del>
e2e_point_at_display
xdotool type --delay 20 2.5
click tecla 55
click monitor 4  # MEM
# The rows as the offscreen list draws them, row by row: the first holds
# the whole value with its exponent, smaller; the second the end of the
# digits after a "…".
# The three rows exactly as the offscreen list draws them (rows are 10
# pixels high from -2).
read -r lw lh lx ly <<<"${E2E_BOX[listmemory 1]}"
rows() {  # window.png out.png
    convert "$1" -crop "${lw}x28+$lx+$ly" +repage "$2"
}
env LC_ALL=$E2E_RENDER_LOCALE LANG=$E2E_RENDER_LOCALE QT_QPA_PLATFORM=offscreen "$PROBE" render \
    "$E2E_WORK/memory.png" --store -1.23456789012346E+15 --store 123456789012345678901234 --store 2.5 --panel 4 ||
    fail "offscreen render failed"
rows "$E2E_WORK/memory.png" "$E2E_WORK/rows-expected.png"
_rows_drawn() {
    screen "$E2E_WORK/screen.png"
    crop_window "$E2E_WORK/screen.png" "$E2E_WORK/window.png"
    rows "$E2E_WORK/window.png" "$E2E_WORK/rows.png"
    [ "$(differing "$E2E_WORK/rows.png" "$E2E_WORK/rows-expected.png")" = 0 ]
}
poll 5 _rows_drawn || {
    cp "$E2E_WORK/rows.png" "$ARTIFACTS/failed-reading-rows-shown.png"
    cp "$E2E_WORK/rows-expected.png" "$ARTIFACTS/failed-reading-rows-expected.png"
    fail "the memory list's rows differ from the offscreen list's (see $ARTIFACTS/failed-reading-rows-*.png)"
}

# The pointer at rest on the first row brings the whole value up.
PX=$((WX + lx + 8)) PY=$((WY + ly + 3))
xdotool mousemove $((PX - 2)) "$PY"
sleep 0.1
xdotool mousemove "$PX" "$PY"
_tooltip() { [ "$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | wc -l)" -ge 2 ]; }
poll 5 _tooltip || fail "no tooltip over the first row"
sleep 0.3
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/memory-long.png"
echo "ok: long values in the memory list and the whole value on hover ($ARTIFACTS/memory-long.png)"
