# shellcheck shell=bash disable=SC2317
# Shared by the end-to-end scripts: a private Xvfb, the real morvane on it,
# clicks at the layout's pixel positions, screenshots and crops.
#
# A script sources this file with the arguments it was given:
#   MORVANE PROBE ARTIFACTS
# and calls e2e_start_x, e2e_start_morvane, then the helpers below. Every
# process started here is ended on exit, whether the script passed or not.
set -euo pipefail

MORVANE=${1:?morvane executable}
PROBE=${2:?morvane-e2e-probe executable}
ARTIFACTS=${3:?artifacts folder}
mkdir -p "$ARTIFACTS"

for tool in Xvfb xdotool xwininfo import convert compare display; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (xvfb xdotool x11-utils imagemagick)" >&2; exit 1; }
done

E2E_WORK=$(mktemp -d)  # mode 0700
export XDG_RUNTIME_DIR=$E2E_WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_FONT_DPI=96
unset WAYLAND_DISPLAY
E2E_XVFB=
E2E_PID=
E2E_SCALE=1  # device pixels per window pixel
E2E_OTHERS=()  # further processes started here, ended on exit (last first)
E2E_ATSPI_BUS=

e2e_cleanup() {
    local rc=$?
    # A script's own clean-up, when it defines one, told how the script ended.
    if declare -F e2e_script_cleanup >/dev/null; then e2e_script_cleanup "$rc" || true; fi
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null || true
        wait "$E2E_PID" 2>/dev/null || true
    fi
    local i r
    # The registry that the accessibility bus started on demand.
    if [ -n "$E2E_ATSPI_BUS" ]; then
        for r in $(pgrep -P "$E2E_ATSPI_BUS" || true); do E2E_OTHERS+=("$r"); done
    fi
    for ((i = ${#E2E_OTHERS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_OTHERS[i]}" 2>/dev/null || true
    done
    for ((i = ${#E2E_OTHERS[@]} - 1; i >= 0; i--)); do
        # Not all of them are this shell's children: wait for each to go.
        poll 3 bash -c "! kill -0 ${E2E_OTHERS[i]} 2>/dev/null" || kill -9 "${E2E_OTHERS[i]}" 2>/dev/null || true
    done
    if [ -n "$E2E_XVFB" ]; then
        kill "$E2E_XVFB" 2>/dev/null || true
        wait "$E2E_XVFB" 2>/dev/null || true
    fi
    if [ $rc -ne 0 ]; then
        local log
        for log in morvane dbus atspi; do
            [ -s "$E2E_WORK/$log.log" ] || continue
            echo "--- $log's output:" >&2
            cat "$E2E_WORK/$log.log" >&2
        done
    fi
    rm -rf "$E2E_WORK"
    exit $rc
}
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Polls a command every 10 ms until it succeeds, for at most $1 seconds.
poll() {
    local limit=$1
    shift
    local end=$(($(date +%s%N) + limit * 1000000000))
    until "$@"; do
        [ "$(date +%s%N)" -lt "$end" ] || return 1
        sleep 0.01
    done
}

# Starts Xvfb on a display number it picks itself (-displayfd), with a
# magenta root so that the window's cut corners can be told from its body.
e2e_start_x() {
    local size=${1:-1024x768x24}
    : >"$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 "$size" -noreset -nolisten tcp \
        3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB=$!
    poll 5 grep -q '[0-9]' "$E2E_WORK/display" || { cat "$E2E_WORK/xvfb.log" >&2; fail "Xvfb did not start"; }
    DISPLAY=:$(tr -dc 0-9 <"$E2E_WORK/display")
    export DISPLAY
    convert -size 8x8 xc:'#ff00ff' "$E2E_WORK/root.png"
    # display sets the root's background and exits with 1 even then.
    display -window root "$E2E_WORK/root.png" 2>/dev/null || true
}

# A private session bus with the accessibility bus and its registry on it,
# as a desktop with a screen reader has them. Sets DBUS_SESSION_BUS_ADDRESS;
# every process of it is ended on exit.
e2e_start_atspi() {
    local launcher=/usr/libexec/at-spi-bus-launcher
    [ -x "$launcher" ] || fail "$launcher is missing (at-spi2-core)"
    command -v dbus-daemon >/dev/null || fail "dbus-daemon is missing (dbus)"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_WORK/session-bus
    dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
        >"$E2E_WORK/dbus.log" 2>&1 &
    E2E_OTHERS+=($!)
    poll 5 test -S "$E2E_WORK/session-bus" || fail "the session bus did not start"
    "$launcher" --launch-immediately >"$E2E_WORK/atspi.log" 2>&1 &
    local lp=$!
    E2E_OTHERS+=("$lp")
    # The launcher's own bus, and the registry that bus starts. The name is
    # asked for only once the launcher owns it: a call to it before would
    # have the session bus start a second launcher.
    _atspi_up() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true" &&
            dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
                >"$E2E_WORK/a11y-address" 2>/dev/null
    }
    poll 5 _atspi_up || fail "the accessibility bus did not start"
    _atspi_bus() {
        E2E_ATSPI_BUS=$(pgrep -P "$lp" | head -n1) || true
        [ -n "$E2E_ATSPI_BUS" ]
    }
    poll 5 _atspi_bus || fail "the accessibility bus has no process of its own"
    E2E_OTHERS+=("$E2E_ATSPI_BUS")
    # Screen reader on: toolkits see the accessibility switch set.
    _atspi_on() {
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
            string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null 2>&1
    }
    poll 5 _atspi_on || fail "the accessibility switch cannot be set"
}

# Finds the mapped window of the running morvane; sets WIN, WX, WY, WW, WH
# (device pixels).
e2e_find_window() {
    local limit=${1:-5}
    _one_window() {
        WIN=$(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null | head -n1)
        [ -n "$WIN" ]
    }
    poll "$limit" _one_window || fail "no visible morvane window within ${limit} s"
    local info
    info=$(xwininfo -id "$WIN")
    WX=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    WY=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    WW=$(sed -n 's/.*Width: *//p' <<<"$info")
    WH=$(sed -n 's/.*Height: *//p' <<<"$info")
}

# Ends the running morvane.
e2e_stop_morvane() {
    kill "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
    E2E_PID=
}

# Starts the real morvane on the Xvfb display, with extra VAR=value
# settings, and waits for its window.
e2e_start_morvane() {
    env QT_QPA_PLATFORM=xcb "$@" "$MORVANE" >"$E2E_WORK/morvane.log" 2>&1 &
    E2E_PID=$!
    e2e_find_window 5
}

# The layout's boxes in window pixels, by "NAME INDEX" (-1: no index).
declare -A E2E_BOX
while read -r name index w h x y; do
    E2E_BOX["$name $index"]="$w $h $x $y"
done < <("$PROBE" boxes)
[ -n "${E2E_BOX[nivel2 0]:-}" ] || fail "the probe lists no layout"

# Screen position of the middle of a control: sets PX PY.
centre_of() {  # NAME [INDEX]
    local b=${E2E_BOX["$1 ${2:--1}"]:-}
    [ -n "$b" ] || fail "no control $* in the layout"
    local w h x y
    read -r w h x y <<<"$b"
    PX=$((WX + (x * 2 + w) * E2E_SCALE / 2))
    PY=$((WY + (y * 2 + h) * E2E_SCALE / 2))
}

# Puts the pointer inside the display area: with no window manager the
# keyboard focus follows the pointer.
e2e_point_at_display() {
    centre_of pila
    xdotool mousemove "$PX" "$PY"
}

# Clicks the middle of a control.
click() {  # NAME [INDEX]
    centre_of "$@"
    xdotool mousemove "$PX" "$PY" click 1
    sleep 0.03
}

# The screen now, into a file.
screen() {
    import -window root "$1"
}

# The window alone, from a screenshot of the screen.
crop_window() {  # screen.png out.png
    convert "$1" -crop "${WW}x${WH}+${WX}+${WY}" +repage "$2"
}

# Number of pixels that differ between two images.
differing() {
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Renders the window offscreen in given states and cuts out the log line,
# in the locale E2E_RENDER_LOCALE when it is set:
#   expected_logs OUT.png [--log T] [--decimals D] [--panel N] [OUT2.png ...]
expected_logs() {
    local args=() a
    for a in "$@"; do
        args+=("$a")
        case $a in *.png) args+=(--log-line) ;; esac
    done
    local locale=()
    [ -z "${E2E_RENDER_LOCALE:-}" ] || locale=("LC_ALL=$E2E_RENDER_LOCALE" "LANG=$E2E_RENDER_LOCALE")
    env "${locale[@]}" QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$E2E_SCALE "$PROBE" render "${args[@]}" ||
        fail "offscreen render failed"
}

# A control's box cut out of an image of the whole window.
crop_box() {  # window.png NAME INDEX out.png
    local b=${E2E_BOX["$2 $3"]:-} w h x y s=$E2E_SCALE
    [ -n "$b" ] || fail "no control $2 $3 in the layout"
    read -r w h x y <<<"$b"
    convert "$1" -crop "$((w * s))x$((h * s))+$((x * s))+$((y * s))" +repage "$4"
}

# The log line as the screen shows it now, less its last column, which the
# blinking cursor bar covers.
shown_log() {  # out.png
    local w h x y s=$E2E_SCALE
    read -r w h x y <<<"${E2E_BOX[nivel2 0]}"
    import -window root -crop "$(((w - 1) * s))x$((h * s))+$((WX + x * s))+$((WY + y * s))" +repage "$1"
}

# Waits until the screen's log line equals the expected crop; on failure
# keeps both for a look.
wait_log_equals() {  # expected.png what-for
    local expected=$1 what=$2
    _log_matches() {
        shown_log "$E2E_WORK/shown.png"
        [ "$(differing "$E2E_WORK/shown.png" "$expected")" = 0 ]
    }
    if ! poll 3 _log_matches; then
        local slug
        slug=failed-$(basename "$0" .sh)-$(tr -c 'A-Za-z0-9.\n' - <<<"$what")
        cp "$E2E_WORK/shown.png" "$ARTIFACTS/$slug-shown.png"
        cp "$expected" "$ARTIFACTS/$slug-expected.png"
        fail "the log line does not show $what (see $ARTIFACTS/$slug-*.png)"
    fi
}

# ------------------------------------------------ the window against an adversary

# Starts watching, in the background for SECONDS, how long the window leaves
# the area of control NAME INDEX unpainted after another window uncovers it
# (morvane-e2e-watch, given as E2E_WATCH): a window whose event loop is held
# up leaves it so until it runs again. watch_end waits for it and sets
# LONGEST to the longest time in ms.
watch_start() {  # SECONDS NAME [INDEX]
    local b=${E2E_BOX["$2 ${3:--1}"]:-} w h x y
    [ -n "$b" ] || fail "no control $2 ${3:-} in the layout"
    read -r w h x y <<<"$b"
    "${E2E_WATCH:?morvane-e2e-watch}" $((WX + x + 2)) $((WY + y + 2)) $((w - 4)) $((h - 4)) "$1" 50 \
        >"$E2E_WORK/watch.out" 2>&1 &
    E2E_WATCHER=$!
}
watch_end() {
    wait "$E2E_WATCHER" || fail "the watch failed: $(cat "$E2E_WORK/watch.out")"
    LONGEST=$(sed -n 's/^longest=\([0-9]*\).*/\1/p' "$E2E_WORK/watch.out")
    [ -n "$LONGEST" ] || fail "the watch gave no result: $(cat "$E2E_WORK/watch.out")"
    if grep -q ' unrepainted=[1-9]' "$E2E_WORK/watch.out"; then LONGEST=">$LONGEST"; fi
}

# Starts waiting, in the background for at most SECONDS, for the area of
# control NAME INDEX to show something else; change_end waits for it and
# sets CHANGED to the moment in ms since the epoch ($(date +%s%3N)'s clock).
change_start() {  # SECONDS NAME [INDEX]
    local b=${E2E_BOX["$2 ${3:--1}"]:-} w h x y
    [ -n "$b" ] || fail "no control $2 ${3:-} in the layout"
    read -r w h x y <<<"$b"
    "${E2E_WATCH:?morvane-e2e-watch}" change $((WX + x)) $((WY + y)) "$w" "$h" "$1" >"$E2E_WORK/change.out" 2>&1 &
    E2E_CHANGE=$!
}
change_end() {
    wait "$E2E_CHANGE" || fail "the area did not change: $(cat "$E2E_WORK/change.out")"
    CHANGED=$(sed -n 's/^changed=//p' "$E2E_WORK/change.out")
}

# The program's resident memory and its peak since peak_reset, in kB.
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$E2E_PID/status"; }
peak_kb() { awk '/^VmHWM/ {print $2}' "/proc/$E2E_PID/status"; }
peak_reset() { echo 5 >"/proc/$E2E_PID/clear_refs"; }


# The colours of pixels of an image, one "r,g,b" a line, in one call:
#   pixels IMAGE "X Y" ["X Y" ...]
pixels() {
    local img=$1 f='' x y
    shift
    for xy in "$@"; do
        read -r x y <<<"$xy"
        f+="%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)]\n"
    done
    convert "$img" -format "$f" info:
}

# The colour of one pixel.
pixel() {  # image x y
    pixels "$1" "$2 $3"
}
