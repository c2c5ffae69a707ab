#!/usr/bin/env bash
# The real window at device pixel ratio 2 (QT_SCALE_FACTOR=2): twice the
# size, corners cut at twice the radius, the log line as crisp as the
# offscreen render at the same ratio, and typed input shown at once. The
# screenshot is kept as scale2.png. Then the same under a compositor, where
# the corners are cut in per-pixel alpha (scale2-alpha.png).
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

# Under a compositor the window has an alpha channel and the corners are cut
# in per-pixel alpha: the arc's edge pixels are partly covered, where a mask
# in window pixels would keep (8, 0) and one in device pixels cut (9, 0).
command -v xcompmgr >/dev/null || fail "xcompmgr is not installed"
kill "$E2E_PID"
wait "$E2E_PID" || true
xcompmgr >"$E2E_WORK/xcompmgr.log" 2>&1 &
E2E_OTHERS+=($!)
# The compositor's window owns its selection once it is made.
poll 5 bash -c 'xwininfo -root -children | grep -q "\"xcompmgr\""' || fail "xcompmgr did not start"
e2e_start_morvane QT_SCALE_FACTOR=2
wait_log_equals "$E2E_WORK/empty.png" "an empty log under a compositor"
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/scale2-alpha.png"
mapfile -t c < <(pixels "$E2E_WORK/screen.png" "$((WX - 4)) $((WY + 4))" "$WX $WY" "$((WX + 8)) $WY" \
    "$((WX + 9)) $WY" "$((WX + 14)) $WY" "$((WX + 14)) $((WY + 14))")
level() { IFS=, read -r r g b <<<"$1"; echo $(((r + g + b) / 3)); }
bg=$(level "${c[0]}")
[ "$(level "${c[1]}")" = "$bg" ] || fail "alpha corners: (0, 0) shows ${c[1]}, not the background ${c[0]}"
d=$(($(level "${c[2]}") - bg)); [ ${d#-} -le 3 ] || fail "alpha corners: (8, 0) is not cut away (${c[2]})"
edge=$(level "${c[3]}") body=$(level "${c[4]}")
[ $((edge - bg)) -ge 4 ] && [ $((body - edge)) -ge 4 ] ||
    fail "alpha corners: (9, 0) is ${c[3]}, not part way from the background ${c[0]} to the body ${c[4]}"
[ "${c[5]}" != "${c[0]}" ] || fail "alpha corners: (14, 14) is cut away"
echo "ok: corners in per-pixel alpha under a compositor ($ARTIFACTS/scale2-alpha.png)"
