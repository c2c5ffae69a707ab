#!/usr/bin/env bash
# Screenshots for the README: a key held down by the pointer on the real
# window (pressed.png) and a 24-digit number shown whole in the log
# (long.png, compared with the offscreen render of the same log).
source "$(dirname "$0")/lib.sh"

e2e_start_x
e2e_start_morvane
expected_logs "$E2E_WORK/empty.png" --log "" "$E2E_WORK/long.png" --log 123456789012345678901234
wait_log_equals "$E2E_WORK/empty.png" "an empty log at start"
screen "$E2E_WORK/up.png"
centre_of numero 8
xdotool mousemove "$PX" "$PY" mousedown 1
_held() {
    screen "$E2E_WORK/held.png"
    [ "$(differing "$E2E_WORK/held.png" "$E2E_WORK/up.png")" != 0 ]
}
poll 3 _held || fail "the key does not look pressed while held"
crop_window "$E2E_WORK/held.png" "$ARTIFACTS/pressed.png"
xdotool mousemove "$((PX + 40))" "$PY" mouseup 1  # released off the key: no 8

e2e_point_at_display
xdotool type --delay 10 123456789012345678901234
wait_log_equals "$E2E_WORK/long.png" "the 24-digit number"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/long.png"
echo "ok: pressed.png and long.png in $ARTIFACTS"
