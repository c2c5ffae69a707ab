#!/usr/bin/env bash
# The feel of the keys on the real window: a key held down by the pointer
# is drawn held down (pressed.png) and comes up off it, and released there
# it does nothing; a 24-digit number shows whole in a smaller size
# (long.png); the keyboard alone copies the result (Ctrl+C) for xclip.
source "$(dirname "$0")/lib.sh"
command -v xclip >/dev/null || fail "xclip is not installed"

e2e_start_x
e2e_start_morvane
expected_logs "$E2E_WORK/empty.png" --log "" "$E2E_WORK/long.png" --log 123456789012345678901234
wait_log_equals "$E2E_WORK/empty.png" "an empty log at start"
screen "$E2E_WORK/up.png"

# Held down on "8": its face darkens; off the key it comes up again, and
# the release there types nothing.
read -r w h x y <<<"${E2E_BOX[numero 8]}"
centre_of numero 8
xdotool mousemove "$PX" "$PY" mousedown 1
_held() {
    screen "$E2E_WORK/held.png"
    [ "$(differing "$E2E_WORK/held.png" "$E2E_WORK/up.png")" != 0 ]
}
poll 3 _held || fail "the key does not look pressed while held"
crop_window "$E2E_WORK/held.png" "$ARTIFACTS/pressed.png"
xdotool mousemove "$((PX + 40))" "$PY"
_up() {
    screen "$E2E_WORK/off.png"
    convert "$E2E_WORK/off.png" -crop "${w}x${h}+$((WX + x))+$((WY + y))" +repage "$E2E_WORK/off-key.png"
    convert "$E2E_WORK/up.png" -crop "${w}x${h}+$((WX + x))+$((WY + y))" +repage "$E2E_WORK/up-key.png"
    [ "$(differing "$E2E_WORK/off-key.png" "$E2E_WORK/up-key.png")" = 0 ]
}
poll 3 _up || fail "the key stays down with the pointer off it"
xdotool mouseup 1
sleep 0.2
wait_log_equals "$E2E_WORK/empty.png" "an empty log after a release off the key"

# A long number is shown whole, as the offscreen render shows it.
e2e_point_at_display
xdotool type --delay 10 123456789012345678901234
wait_log_equals "$E2E_WORK/long.png" "the 24-digit number"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/long.png"

# The keyboard alone: Backspace empties the log again, 2 Enter 3 + gives 5
# and Ctrl+C puts it on the clipboard.
for _ in $(seq 24); do xdotool key BackSpace; done
wait_log_equals "$E2E_WORK/empty.png" "an empty log after 24 Backspaces"
xdotool type --delay 20 2
xdotool key Return
xdotool type --delay 20 3+
xdotool key ctrl+c
_copied() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = 5 ]; }
poll 3 _copied || fail "Ctrl+C put '$(xclip -o -selection clipboard 2>&1)' on the clipboard, not 5"
echo "ok: pressed.png and long.png in $ARTIFACTS; Ctrl+C copies the result"
