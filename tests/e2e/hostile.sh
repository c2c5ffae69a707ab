#!/usr/bin/env bash
# A clipboard owner that never answers: "pst" reports E-521 after the
# platform's clipboard time-out, and the log keeps its text. The time from
# the click to the report is printed.
source "$(dirname "$0")/lib.sh"
DEADCLIP=${4:?morvane-e2e-deadclip executable}

# The display area as the screen shows it now.
shown_display() {  # out.png
    local w h x y
    read -r w h x y <<<"${E2E_BOX[pila -1]}"
    import -window root -crop "${w}x${h}+$((WX + x))+$((WY + y))" +repage "$1"
}

e2e_start_x
e2e_start_morvane
expected_logs "$E2E_WORK/42.png" --log 42
env QT_QPA_PLATFORM=offscreen "$PROBE" render "$E2E_WORK/e521.png" --log 42 --error 521 --display ||
    fail "offscreen render failed"

click numero 4
click numero 2
wait_log_equals "$E2E_WORK/42.png" "42 typed"

"$DEADCLIP" >"$E2E_WORK/deadclip.out" &
DEADCLIP_PID=$!
trap 'rc=$?; kill $DEADCLIP_PID 2>/dev/null || true; (exit $rc); e2e_cleanup' EXIT
poll 5 grep -q ready "$E2E_WORK/deadclip.out" || fail "the dead clipboard owner did not start"

start=$(date +%s%N)
click tecla 48   # pst
_reported() {
    shown_display "$E2E_WORK/shown.png"
    [ "$(differing "$E2E_WORK/shown.png" "$E2E_WORK/e521.png")" = 0 ]
}
if ! poll 20 _reported; then
    cp "$E2E_WORK/shown.png" "$ARTIFACTS/failed-hostile-shown.png"
    cp "$E2E_WORK/e521.png" "$ARTIFACTS/failed-hostile-expected.png"
    fail "no E-521 on the display within 20 s (see $ARTIFACTS/failed-hostile-*.png)"
fi
ms=$((($(date +%s%N) - start) / 1000000))
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/dead-clipboard.png"
click orden 83   # OK
wait_log_equals "$E2E_WORK/42.png" "42 still in the log after the failed paste"
kill "$DEADCLIP_PID"
echo "ok: a clipboard that never answers gave E-521 after $ms ms; the log kept 42"
