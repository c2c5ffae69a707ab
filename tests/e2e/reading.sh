#!/usr/bin/env bash
# What a new user reads in the real window, in a 12-hour locale (en_US): the
# clock whole, as the offscreen window draws the same time; long values in
# the memory list shrunk, or ended after a "…" with the exponent kept; and
# the whole value in a tooltip over its row. Screenshots: clock12.png (the
# stack view) and memory-long.png (the memory list with the tooltip).
source "$(dirname "$0")/lib.sh"

export E2E_RENDER_LOCALE=en_US.UTF-8
e2e_start_x
e2e_start_morvane LC_ALL=$E2E_RENDER_LOCALE LANG=$E2E_RENDER_LOCALE

# The screen's clock shows the time of this second or of the one before
# (it is rewritten twice a second).
_clock_matches() {
    local now before
    before=$(date -d '1 second ago' +%H:%M:%S)
    now=$(date +%H:%M:%S)
    screen "$E2E_WORK/screen.png"
    crop_window "$E2E_WORK/screen.png" "$E2E_WORK/window.png"
    crop_box "$E2E_WORK/window.png" estado 4 "$E2E_WORK/shown.png"
    env LC_ALL=$E2E_RENDER_LOCALE LANG=$E2E_RENDER_LOCALE QT_QPA_PLATFORM=offscreen "$PROBE" render \
        "$E2E_WORK/now.png" --time "$now" "$E2E_WORK/before.png" --time "$before" || fail "offscreen render failed"
    local t
    for t in now before; do
        crop_box "$E2E_WORK/$t.png" estado 4 "$E2E_WORK/$t-clock.png"
        [ "$(differing "$E2E_WORK/shown.png" "$E2E_WORK/$t-clock.png")" = 0 ] && return 0
    done
    return 1
}
poll 10 _clock_matches || {
    cp "$E2E_WORK/shown.png" "$ARTIFACTS/failed-reading-clock-shown.png"
    cp "$E2E_WORK/now-clock.png" "$ARTIFACTS/failed-reading-clock-expected.png"
    fail "the clock does not show the 12-hour time as drawn offscreen (see $ARTIFACTS/failed-reading-clock-*.png)"
}
cp "$E2E_WORK/window.png" "$ARTIFACTS/clock12.png"
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
