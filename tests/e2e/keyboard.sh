#!/usr/bin/env bash
# Typing on the real window: "2", Return, "3", "+" shows 5 on the log line.
# The log line on the screen is compared with the same window rendered
# offscreen holding 5; the screenshot is kept as keyboard.png. Then the same
# with the regional decimal comma.
source "$(dirname "$0")/lib.sh"

e2e_start_x
e2e_start_morvane
[ "$WW" = 246 ] && [ "$WH" = 502 ] || fail "window is ${WW}x${WH}, not 246x502"

expected_logs "$E2E_WORK/empty.png" --log "" "$E2E_WORK/five.png" --log 5 "$E2E_WORK/two.png" --log 2
[ "$(differing "$E2E_WORK/five.png" "$E2E_WORK/empty.png")" != 0 ] || fail "5 and an empty log render alike"
wait_log_equals "$E2E_WORK/empty.png" "an empty log at start"

e2e_point_at_display
xdotool type --delay 20 2
wait_log_equals "$E2E_WORK/two.png" "2 after typing 2"
xdotool key Return
wait_log_equals "$E2E_WORK/empty.png" "an empty log after Return"
xdotool type --delay 20 3+
wait_log_equals "$E2E_WORK/five.png" "5 after 2 Return 3 +"

screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/keyboard.png"

# With a regional decimal comma: "1", ",", "5", Return, "2", "+" gives 3,5.
kill "$E2E_PID"
wait "$E2E_PID" || true
e2e_start_morvane LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
E2E_RENDER_LOCALE=de_DE.UTF-8 expected_logs "$E2E_WORK/comma.png" --log 3,5
expected_logs "$E2E_WORK/point.png" --log 3.5
[ "$(differing "$E2E_WORK/comma.png" "$E2E_WORK/point.png")" != 0 ] || fail "3,5 and 3.5 render alike"
e2e_point_at_display
xdotool type --delay 20 1,5
xdotool key Return
xdotool type --delay 20 2+
wait_log_equals "$E2E_WORK/comma.png" "3,5 with a decimal comma"
echo "ok: the log line shows 5, and 3,5 with a decimal comma ($ARTIFACTS/keyboard.png)"
