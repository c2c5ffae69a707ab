#!/usr/bin/env bash
# "pst" against X clipboard owners that misbehave, on the real window: one
# that never answers, one that answers TARGETS but never sends the text, one
# whose incremental transfer stalls, one that answers 4.5 s late, and one
# that holds 100 MB (announcing its size, then lying about it). Each must
# give its error (E-521; E-7 for the text beyond the bound) within 5 s with
# the log kept, while the window goes on painting: an area that another
# window uncovers is painted again within a second, all along. The 100 MB
# clipboard must not cost more than 10 MB. Then owners that behave: a slow
# one that answers within the wait, with a key pressed during the wait that
# acts after the paste; a long text sent incrementally; no owner at all (an
# empty paste). A table of the figures is printed.
source "$(dirname "$0")/lib.sh"
CLIPOWNER=${4:?morvane-e2e-clipowner executable}
E2E_WATCH=${5:?morvane-e2e-watch executable}
OWNER_PID=

# The display area as the screen shows it now.
shown_display() {  # out.png
    local w h x y
    read -r w h x y <<<"${E2E_BOX[pila -1]}"
    import -window root -crop "${w}x${h}+$((WX + x))+$((WY + y))" +repage "$1"
}

stop_owner() {
    [ -n "$OWNER_PID" ] || return 0
    kill "$OWNER_PID" 2>/dev/null || true
    wait "$OWNER_PID" 2>/dev/null || true
    OWNER_PID=
}
e2e_script_cleanup() { stop_owner; }

start_owner() {  # MODE [ARGS...]
    stop_owner
    "$CLIPOWNER" "$@" >"$E2E_WORK/owner.out" 2>&1 &
    OWNER_PID=$!
    poll 5 grep -q ready "$E2E_WORK/owner.out" || fail "the clipboard owner ($*) did not start"
}

e2e_start_x
e2e_start_morvane
expected_logs "$E2E_WORK/42.png" --log 42 "$E2E_WORK/empty.png" --log "" "$E2E_WORK/775.png" --log 775
env QT_QPA_PLATFORM=offscreen "$PROBE" render "$E2E_WORK/e521.png" --log 42 --error 521 --display \
    "$E2E_WORK/e7.png" --log 42 --error 7 --display || fail "offscreen render failed"

click numero 4
click numero 2
wait_log_equals "$E2E_WORK/42.png" "42 typed"

ROWS=()
# One adversary: pst, the error on the display within 5 s, the window
# painting all along, the log kept; a row of figures.
adversary() {  # NAME ERROR MODE [ARGS...]
    local name=$1 error=$2
    shift 2
    start_owner "$@"
    peak_reset
    local before
    before=$(rss_kb)
    watch_start 3 numero 8
    change_start 6 numeroerror
    sleep 0.2
    local start
    start=$(date +%s%3N)
    click tecla 48   # pst
    _reported() {
        shown_display "$E2E_WORK/shown.png"
        [ "$(differing "$E2E_WORK/shown.png" "$E2E_WORK/e$error.png")" = 0 ]
    }
    if ! poll 5 _reported; then
        cp "$E2E_WORK/shown.png" "$ARTIFACTS/failed-hostile-shown.png"
        fail "$name: no E-$error on the display within 5 s (see $ARTIFACTS/failed-hostile-shown.png)"
    fi
    change_end
    local ms=$((CHANGED - start))
    watch_end
    local peak=$(($(peak_kb) - before))
    screen "$E2E_WORK/screen.png"
    local slug
    slug=$(tr -cs 'A-Za-z0-9' - <<<"$name" | tr 'A-Z' 'a-z' | sed 's/-$//')
    crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/clipboard-$slug.png"
    click orden 83   # OK
    wait_log_equals "$E2E_WORK/42.png" "42 still in the log after $name"
    stop_owner
    ROWS+=("| $name | E-$error | $ms | $LONGEST | $((peak / 1024)).$((peak % 1024 * 10 / 1024)) |")
    [[ $LONGEST =~ ^[0-9]+$ ]] && [ "$LONGEST" -lt 1000 ] ||
        fail "$name: the window left an area unpainted for $LONGEST ms (see $E2E_WORK/watch.out)"
}

adversary "never answers" 521 dead
adversary "TARGETS only" 521 targets
adversary "stalled INCR" 521 stall
adversary "answers 4.5 s late" 521 slow 4500 77
adversary "100 MB" 7 big 100000000
big_peak=${ROWS[-1]}
adversary "100 MB, size untold" 7 big 100000000 0
for row in "$big_peak" "${ROWS[-1]}"; do
    kb=$(awk -F'|' '{print $6}' <<<"$row")
    awk -v mb="$kb" 'BEGIN { exit !(mb <= 10) }' || fail "a 100 MB clipboard cost $kb MB: $row"
done
# Not even the first chunk of the 100 MB was taken whole: at most one chunk sent.
sent=$(sed -n 's/^sent //p' "$E2E_WORK/owner.out" | tail -n1)
[ "${sent:-0}" -le 262144 ] || fail "the owner of 100 MB sent $sent bytes"

# An owner that answers within the wait: a key pressed while pst waits acts
# after the paste (77, then 5).
start_owner slow 400 77
click tecla 48
xdotool type --delay 0 5
wait_log_equals "$E2E_WORK/775.png" "775: the paste, then the key typed during it"
stop_owner

# A text near the bound, sent in chunks of 4096 bytes.
long=$(printf '%060000d' 9 | tr 0 3)
start_owner text "$long" 4096
expected_logs "$E2E_WORK/long.png" --log "$long"
click tecla 48
wait_log_equals "$E2E_WORK/long.png" "a 60000-digit text sent in chunks"
stop_owner

# No owner: the clipboard is empty, and so is the paste.
click tecla 48
wait_log_equals "$E2E_WORK/empty.png" "the empty paste of an empty clipboard"

echo "| clipboard owner | error | ms from pst to the error | longest unpainted ms | peak memory above start, MB |"
echo "|---|---|---|---|---|"
printf '%s\n' "${ROWS[@]}"
echo "ok: every owner gave its error with the log kept and the window painting (clipboard-*.png in $ARTIFACTS)"
