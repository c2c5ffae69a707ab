#!/usr/bin/env bash
# Morvane on a Wayland compositor: Weston with its X11 backend in a private
# Xvfb, whose pointer and keys xdotool drives, and whose screen shows what
# Weston draws (a magenta background, no panel). With an X server at hand
# the program prefers it (XWayland); with none it runs on Wayland itself:
# its corners cut in per-pixel alpha, a calculation, a drag that the
# compositor carries out, "^" that changes the height in place, copy and
# paste through the Wayland clipboard, and the close key. The window on
# Weston is kept as wayland.png.
source "$(dirname "$0")/lib.sh"

for tool in weston wl-copy wl-paste; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (weston wl-clipboard)"
done
MAGENTA=255,0,255
OUT_W=640 OUT_H=600  # Weston's output, at the top-left corner of the X screen

e2e_start_x 800x700x24
cat >"$E2E_WORK/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xffff00ff
panel-position=none
locking=false
animation=none
startup-animation=none
EOF
export WAYLAND_SOCKET_NAME=morvane-$$
weston --backend=x11-backend.so --use-pixman --width=$OUT_W --height=$OUT_H --socket="$WAYLAND_SOCKET_NAME" \
    --config="$E2E_WORK/weston.ini" >"$E2E_WORK/weston.log" 2>&1 &
E2E_OTHERS+=($!)
# Weston's output shows its background once the shell has drawn it.
_weston_up() {
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_SOCKET_NAME" ] || return 1
    screen "$E2E_WORK/screen.png" 2>/dev/null && [ "$(pixel "$E2E_WORK/screen.png" 320 300)" = $MAGENTA ]
}
poll 15 _weston_up || { cat "$E2E_WORK/weston.log" >&2; fail "Weston did not start"; }

# The program's window on Weston's output: the box of what is not the
# background, with the pointer off the output (Weston then draws none).
# Sets WX, WY, WW, WH.
wl_find_window() {  # [expected height]
    _window_shown() {
        xdotool mousemove 790 690
        screen "$E2E_WORK/screen.png"
        local g
        g=$(convert "$E2E_WORK/screen.png" -crop ${OUT_W}x$OUT_H+0+0 +repage -trim -format '%w %h %X %Y' info:)
        read -r WW WH WX WY <<<"$g"
        WX=${WX#+} WY=${WY#+}
        [ "$WW" = 246 ] && { [ -z "${1:-}" ] || [ "$WH" = "$1" ]; }
    }
    poll 15 _window_shown "$@" || fail "no window ${1:+of height $1 }on Weston (found ${WW}x$WH at $WX,$WY)"
}

# With an X server answering, the program goes to it, as it would through
# XWayland.
env -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" "$MORVANE" >"$E2E_WORK/morvane.log" 2>&1 &
E2E_PID=$!
e2e_find_window 15
e2e_stop_morvane
echo "ok: with an X server the window opens on it"

# With none, on Wayland itself: no abort. (Under LeakSanitizer, what Qt's
# Wayland platform leaves behind at the end is not the program's.)
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" \
    LSAN_OPTIONS="suppressions=$(dirname "$0")/wayland.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    "$MORVANE" >"$E2E_WORK/morvane.log" 2>&1 &
E2E_PID=$!
wl_find_window
[ "$WH" = 502 ] || fail "the window on Weston is ${WW}x$WH, not 246x502"

# Corners cut in per-pixel alpha: the corner pixels show the background,
# the arc's edge is partly covered, the inside is the window's.
mapfile -t c < <(pixels "$E2E_WORK/screen.png" "$WX $WY" "$((WX + 1)) $((WY + 1))" "$((WX + 245)) $((WY + 501))" \
    "$((WX + 7)) $((WY + 7))" "$((WX + 3)) $WY" "$((WX + 4)) $WY" "$((WX + 5)) $WY")
for i in 0 1 2; do [ "${c[i]}" = $MAGENTA ] || fail "corner pixel $i is ${c[i]}, not cut away"; done
[ "${c[3]}" != $MAGENTA ] || fail "(7, 7) is cut away"
partial=0
for i in 4 5 6; do
    IFS=, read -r r g b <<<"${c[i]}"
    [ "${c[i]}" != $MAGENTA ] && [ "$r" -gt 60 ] && [ "$b" -gt 60 ] && partial=1
done
[ $partial = 1 ] || fail "no partly covered pixel along the top arc (${c[4]} ${c[5]} ${c[6]})"
echo "ok: corners cut in per-pixel alpha"

# 2 ENTER 3 + gives 5.
expected_logs "$E2E_WORK/five.png" --log 5 "$E2E_WORK/copied.png" --log 12 "$E2E_WORK/pasted.png" --log 345
click numero 2
click tecla 12
click numero 3
click tecla 0
wait_log_equals "$E2E_WORK/five.png" "5 after 2 ENTER 3 +"
echo "ok: a calculation"

# A drag of the surface moves the window by the pointer's way, through the
# compositor, towards a place where the tall window fits.
dx=$((40 - WX)) dy=$((20 - WY))
[ $((${dx#-} + ${dy#-})) -ge 40 ] || dx=$((300 - WX))
sx=$((WX + 60)) sy=$((WY + 30))  # the case below the title band: no control there
xdotool mousemove $sx $sy mousedown 1
for i in $(seq 1 10); do
    xdotool mousemove $((sx + dx * i / 10)) $((sy + dy * i / 10))
    sleep 0.02
done
xdotool mouseup 1
fromX=$WX fromY=$WY
wl_find_window
[ "$WX,$WY" = "$((fromX + dx)),$((fromY + dy))" ] ||
    fail "the drag by ($dx, $dy) moved the window from $fromX,$fromY to $WX,$WY"
echo "ok: the drag moved the window by ($dx, $dy)"

# "^" changes the height where the window is, twice.
atX=$WX atY=$WY
click MANEJO 0
wl_find_window 504
[ "$WX,$WY" = "$atX,$atY" ] || fail "\"^\" moved the window from $atX,$atY to $WX,$WY"
click MANEJO 0
wl_find_window 539
[ "$WX,$WY" = "$atX,$atY" ] || fail "the second \"^\" moved the window from $atX,$atY to $WX,$WY"
echo "ok: \"^\" changed the height in place"

# Copy: 12 on the clipboard; paste: what another client offers, into the log.
wayland() { env -u DISPLAY WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" "$@"; }
click tecla 65  # del>
click numero 1
click numero 2
click tecla 47  # cpy
wait_log_equals "$E2E_WORK/copied.png" "12 typed"
_copied() { [ "$(timeout 5 env -u DISPLAY WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" wl-paste -n 2>/dev/null)" = 12 ]; }
poll 5 _copied || fail "the clipboard does not hold 12 after \"cpy\" ($(wayland wl-paste -n 2>&1))"
wayland wl-copy --foreground 345 >"$E2E_WORK/wl-copy.log" 2>&1 &
E2E_OTHERS+=($!)
_offered() { [ "$(timeout 5 env -u DISPLAY WAYLAND_DISPLAY="$WAYLAND_SOCKET_NAME" wl-paste -n 2>/dev/null)" = 345 ]; }
poll 5 _offered || fail "wl-copy did not take the clipboard"
click tecla 48  # pst
wait_log_equals "$E2E_WORK/pasted.png" "345 pasted"
echo "ok: copy and paste through the Wayland clipboard"
# Weston leaves the pointer's arrow where the pointer left its output: over
# the background, away from the window.
xdotool mousemove $((WX > OUT_W / 2 ? 20 : OUT_W - 20)) $((OUT_H - 20))
sleep 0.2
xdotool mousemove 790 690
sleep 0.2
screen "$E2E_WORK/screen.png"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/wayland.png"

# "X" ends the program.
click MANEJO 2
_ended() { ! kill -0 "$E2E_PID" 2>/dev/null; }
poll 5 _ended || fail "morvane still runs 5 s after the close key"
rc=0
wait "$E2E_PID" || rc=$?
E2E_PID=
[ $rc = 0 ] || fail "morvane ended with status $rc after the close key"
echo "ok: closed; $ARTIFACTS/wayland.png"
