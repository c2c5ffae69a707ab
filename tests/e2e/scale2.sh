#!/usr/bin/env bash
# The real window at device pixel ratio 2 (QT_SCALE_FACTOR=2): twice the
# size, corners cut at twice the radius, the log line as crisp as the
# offscreen render at the same ratio, and typed input shown at once. The
# screenshot is kept as scale2.png.
source "$(dirname "$0")/lib.sh"

e2e_start_x 1024x1280x24
E2E_SCALE=2
e2e_start_morvane QT_SCALE_FACTOR=2
[ "$WX,$WY,$WW,$WH" = 200,200,492,1004 ] || fail "window at $WX,$WY size ${WW}x$WH, not 492x1004 at 200,200"

expected_logs "$E2E_WORK/empty.png" --log "" "$E2E_WORK/sum.png" --log 5
wait_log_equals "$E2E_WORK/empty.png" "an empty log at start"
e2e_point_at_display
xdotool type --delay 20 2
xdotool key Return
xdotool type --delay 20 3+
wait_log_equals "$E2E_WORK/sum.png" "5 after 2 Return 3 +"

screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/scale2.png"
# At device resolution: the top row is cut 10 pixels in and the next one 8,
# where a mask in window pixels would cut both 8.
cut=("0 0" "2 2" "6 0" "491 0" "489 2" "0 1003" "491 1003" "8 0" "9 0" "483 0" "8 1003")
kept=("14 14" "14 0" "0 14" "477 989" "246 0" "8 1" "10 0" "483 1")
mapfile -t colours < <(pixels "$ARTIFACTS/scale2.png" "${cut[@]}" "${kept[@]}")
i=0
for p in "${cut[@]}"; do
    [ "${colours[i]}" = 255,0,255 ] || fail "scale2.png: pixel ($p) is not cut away"
    i=$((i + 1))
done
for p in "${kept[@]}"; do
    [ "${colours[i]}" != 255,0,255 ] || fail "scale2.png: pixel ($p) is cut away"
    i=$((i + 1))
done
echo "ok: $ARTIFACTS/scale2.png"
