#!/usr/bin/env bash
# Screenshots of the real window, kept as artifacts: at start (start.png),
# with a panel shown (panel.png) and in the tall height after two clicks on
# "^" (tall.png). Checks what does not depend on how the skin is painted:
# the window's size and rounded corners (the root is magenta), the panels
# over the log line (the stack utilities among them), the heights of "^";
# the close key ends the program.
source "$(dirname "$0")/lib.sh"

MAGENTA=255,0,255

# Corners cut to a radius of 7 pixels: the corner pixels show the root,
# pixels inside the arc show the window.
check_corners() {  # window.png width height
    local img=$1 w=$2 h=$3 x y out=() in=() p
    for xy in "0 0" "1 1" "2 0" "0 2" "3 0"; do
        read -r x y <<<"$xy"
        out+=("$x $y" "$((w - 1 - x)) $y" "$x $((h - 1 - y))" "$((w - 1 - x)) $((h - 1 - y))")
    done
    for xy in "7 0" "0 7" "5 5" "7 7" "123 0" "0 250"; do
        read -r x y <<<"$xy"
        in+=("$x $y" "$((w - 1 - x)) $y" "$x $((h - 1 - y))" "$((w - 1 - x)) $((h - 1 - y))")
    done
    local colours i=0
    mapfile -t colours < <(pixels "$img" "${out[@]}" "${in[@]}")
    for p in "${out[@]}"; do
        [ "${colours[i]}" = $MAGENTA ] || fail "$img: pixel ($p) is not cut away"
        i=$((i + 1))
    done
    for p in "${in[@]}"; do
        [ "${colours[i]}" != $MAGENTA ] || fail "$img: pixel ($p) is cut away (${colours[i]})"
        i=$((i + 1))
    done
}

# Waits for the window (a new native one after the topmost flag changes)
# to have the given height.
wait_height() {
    _height_is() {
        e2e_find_window 1 2>/dev/null && [ "$WH" = "$1" ]
    }
    poll 5 _height_is "$1" || fail "the window is ${WH:-?} high, not $1"
}

e2e_start_x
e2e_start_morvane
[ "$WX,$WY,$WW,$WH" = 100,100,246,502 ] || fail "window at $WX,$WY size ${WW}x$WH, not 246x502 at 100,100"
expected_logs "$E2E_WORK/empty.png" --log "" "$E2E_WORK/constants.png" --log "" --panel 3 \
    "$E2E_WORK/utilities.png" --log "" --panel 9
wait_log_equals "$E2E_WORK/empty.png" "an empty log at start"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/start.png"
check_corners "$ARTIFACTS/start.png" 246 502

click monitor 3  # CON
wait_log_equals "$E2E_WORK/constants.png" "the constants panel"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/panel.png"

# STK hides the constants and shows the stack-utilities panel over the
# display, in its olive.
click monitor 9
wait_log_equals "$E2E_WORK/utilities.png" "the stack-utilities panel after STK"
read -r w h x y <<<"${E2E_BOX[pantalla 9]}"
screen "$E2E_WORK/screen.png"
[ "$(pixel "$E2E_WORK/screen.png" $((WX + x + 20)) $((WY + y + 60)))" = 128,128,0 ] ||
    fail "the stack-utilities panel does not show over the display"
# Its "OK" hides it again.
click orden 60
wait_log_equals "$E2E_WORK/empty.png" "the stack view after the panel's OK"
click MANEJO 0   # "^": always on top, 7560 twips
wait_height 504
[ "$WX,$WY" = 100,100 ] || fail "the topmost window moved to $WX,$WY"
click MANEJO 0   # "^" again: not on top, 8085 twips
wait_height 539
[ "$WX,$WY" = 100,100 ] || fail "the tall window moved to $WX,$WY"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/tall.png"
check_corners "$ARTIFACTS/tall.png" 246 539

# "X" covers the display and ends the program about 360 ms later.
click MANEJO 2
_ended() { ! kill -0 "$E2E_PID" 2>/dev/null; }
poll 3 _ended || fail "morvane still runs 3 s after the close key"
rc=0
wait "$E2E_PID" || rc=$?
E2E_PID=
[ $rc = 0 ] || fail "morvane ended with status $rc after the close key"
echo "ok: start.png, panel.png and tall.png in $ARTIFACTS"
