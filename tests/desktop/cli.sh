#!/usr/bin/env bash
# The command line, with no display at all: --help and --version answer on
# the terminal and exit 0; an unknown option or a stray argument is
# refused with a message and exit status 2; Qt's own options pass.
#   cli.sh MORVANE
set -uo pipefail
morvane=${1:?morvane executable}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# No DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM: a window could not open.
run() { env -i PATH=/usr/bin:/bin HOME="$work" "$morvane" "$@" >"$work/out" 2>"$work/err"; }

for opt in --help -h; do
    run "$opt" || fail "$opt exits with $?: $(cat "$work/err")"
    grep -q "^Usage: .*morvane \[options\]" "$work/out" || fail "$opt prints no usage line"
    grep -q -- "--version" "$work/out" || fail "$opt does not list --version"
done
for opt in --version -v; do
    run "$opt" || fail "$opt exits with $?"
    [ "$(cat "$work/out")" = "morvane 4.0" ] || fail "$opt prints '$(cat "$work/out")'"
done

run --frobnicate
[ $? -eq 2 ] || fail "an unknown option does not exit with 2"
grep -q "frobnicate" "$work/err" || fail "the message does not name the option: $(cat "$work/err")"
grep -q -- "--help" "$work/err" || fail "the message does not point to --help"
[ ! -s "$work/out" ] || fail "an unknown option printed on stdout"
run stray
[ $? -eq 2 ] || fail "a stray argument does not exit with 2"
grep -q "stray" "$work/err" || fail "the message does not name the argument"
run -platform
[ $? -eq 2 ] || fail "-platform without its value does not exit with 2"

# Qt's own option: the window opens offscreen and keeps running.
env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work" timeout 2 "$morvane" -platform offscreen >"$work/out" 2>"$work/err"
[ $? -eq 124 ] || fail "-platform offscreen did not start the window: $(cat "$work/err")"
echo "ok: --help, --version, -h, -v, unknown option, stray argument, -platform"
