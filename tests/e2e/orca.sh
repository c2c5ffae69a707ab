#!/usr/bin/env bash
# The real screen reader: Orca drives the real window as a blind user does,
# and what it says is checked (orca.py). Everything runs privately: Xvfb, a
# session bus with the accessibility bus and its registry, a speech
# dispatcher whose only voice writes its texts to a file (no audio device),
# and Orca with a debug file, whose "SPEECH OUTPUT" lines are what a user
# hears. Both are kept in the artifacts: orca-debug.log, orca-spoken.txt,
# with the window as the keyboard's focus on "COV" shows it: orca-focus-mark.png.
# When Orca or the speech dispatcher cannot start, the test fails.
source "$(dirname "$0")/lib.sh"
set -E
trap 'echo "FAIL: \"$BASH_COMMAND\" (line $LINENO) failed" >&2' ERR

python=/usr/bin/python3  # Debian's, which python3-pyatspi installs for
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is not installed (python3-pyatspi)"
command -v orca >/dev/null || fail "orca is not installed"
command -v speech-dispatcher >/dev/null || fail "speech-dispatcher is not installed"
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || fail "speech-dispatcher has no generic module"

# Orca, its settings and the speech dispatcher keep everything here.
export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/config XDG_DATA_HOME=$E2E_WORK/data
export XDG_CACHE_HOME=$E2E_WORK/cache
mkdir -p "$HOME"
SPOKEN=$E2E_WORK/spoken.txt
DEBUG=$E2E_WORK/orca-debug.log
SPEECHD=
ORCA=

e2e_script_cleanup() {  # RC
    # The speech dispatcher's voice modules are its children.
    if [ -n "$SPEECHD" ]; then
        local c
        for c in $(pgrep -P "$SPEECHD" || true); do E2E_OTHERS+=("$c"); done
    fi
    # Orca's debug file is whole once Orca has ended.
    if [ -n "$ORCA" ] && kill -0 "$ORCA" 2>/dev/null; then
        kill "$ORCA" 2>/dev/null || true
        poll 10 bash -c "! kill -0 $ORCA 2>/dev/null" || true
    fi
    cp "$DEBUG" "$ARTIFACTS/orca-debug.log" 2>/dev/null || true
    cp "$SPOKEN" "$ARTIFACTS/orca-spoken.txt" 2>/dev/null || true
    if [ "$1" -ne 0 ]; then
        for log in orca speechd; do
            [ -s "$E2E_WORK/$log.log" ] && { echo "--- $log's output:" >&2; tail -n 40 "$E2E_WORK/$log.log" >&2; }
        done
    fi
    return 0
}

e2e_start_x
e2e_start_atspi

# The speech dispatcher: libao's null driver for audio, and one voice that
# writes each text it is given to $SPOKEN.
conf=$E2E_WORK/speechd
mkdir -p "$conf/modules"
echo "default_driver=null" >"$HOME/.libao"
cat >"$conf/speechd.conf" <<EOF
LogLevel 3
AudioOutputMethod "libao"
AddModule "silent" "sd_generic" "silent.conf"
DefaultModule silent
EOF
cat >"$conf/modules/silent.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \'\$DATA\' >> $SPOKEN"
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "en"
EOF
socket=$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock
export SPEECHD_ADDRESS=unix_socket:$socket
speech-dispatcher --run-single --timeout 0 --config-dir "$conf" --communication-method unix_socket \
    --socket-path "$socket" >"$E2E_WORK/speechd.log" 2>&1 &
SPEECHD=$!
E2E_OTHERS+=("$SPEECHD")
poll 10 test -S "$socket" || fail "the speech dispatcher did not start"

e2e_start_morvane
orca --debug-file="$DEBUG" >"$E2E_WORK/orca.log" 2>&1 &
ORCA=$!
E2E_OTHERS+=("$ORCA")
poll 30 grep -q "Screen reader on" "$SPOKEN" 2>/dev/null || fail "Orca did not start (no \"Screen reader on\" spoken)"
# A window manager would give the new window the keyboard; Orca follows it.
xdotool windowfocus --sync "$WIN"

timeout 150 "$python" "$(dirname "$0")/orca.py" drive "$E2E_PID" "$SPOKEN" "$E2E_WORK/focus.png"
crop_window "$E2E_WORK/focus.png" "$ARTIFACTS/orca-focus-mark.png"
# Orca writes its debug file in blocks: it is whole once Orca has ended.
kill "$ORCA"
poll 10 bash -c "! kill -0 $ORCA 2>/dev/null" || fail "Orca did not end"
"$python" "$(dirname "$0")/orca.py" check "$DEBUG"
