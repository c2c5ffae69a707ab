#!/usr/bin/env bash
# The window on screens smaller than the layout's place for it: wholly
# inside an 800x600 screen at start and in the tall height, wholly inside a
# 1280x1024 screen at 200 % (kept as small-scale2.png, the whole screen),
# and on a 320x240 screen, lower than the window, with its top-left corner
# on the screen.
source "$(dirname "$0")/lib.sh"

new_screen() {  # WxHxD
    [ -z "$E2E_PID" ] || e2e_stop_morvane
    if [ -n "$E2E_XVFB" ]; then
        kill "$E2E_XVFB"
        wait "$E2E_XVFB" 2>/dev/null || true
    fi
    e2e_start_x "$1"
}

new_screen 800x600x24
e2e_start_morvane
[ "$WX,$WY,$WW,$WH" = 100,98,246,502 ] || fail "800x600: the window is ${WW}x$WH at $WX,$WY, not 246x502 at 100,98"
click MANEJO 0
click MANEJO 0
_tall() { e2e_find_window 1 && [ "$WH" = 539 ]; }
poll 5 _tall || fail "800x600: the window is not 539 high after two \"^\""
[ "$WX,$WY" = 100,61 ] || fail "800x600: the tall window is at $WX,$WY, not 100,61"
echo "ok: inside an 800x600 screen at both heights"

new_screen 1280x1024x24
E2E_SCALE=2
e2e_start_morvane QT_SCALE_FACTOR=2
[ "$WX,$WY,$WW,$WH" = 200,20,492,1004 ] ||
    fail "1280x1024 at 200 %: the window is ${WW}x$WH at $WX,$WY, not 492x1004 at 200,20"
# The bottom row of keys can be reached: its "0" types into the log.
expected_logs "$E2E_WORK/zero.png" --log 0
click numero 0
wait_log_equals "$E2E_WORK/zero.png" "0 typed with the bottom row's key"
xdotool mousemove 1270 1010
sleep 0.3
screen "$ARTIFACTS/small-scale2.png"
echo "ok: inside a 1280x1024 screen at 200 % ($ARTIFACTS/small-scale2.png)"

new_screen 320x240x24
E2E_SCALE=1
e2e_start_morvane
# As wide as it fits, as high as it does not: its right edge on the
# screen's, its top on the screen's top.
[ "$WX,$WY" = 74,0 ] || fail "320x240: the window is at $WX,$WY, not 74,0"
echo "ok: on a 320x240 screen the top-left corner stays on it"
