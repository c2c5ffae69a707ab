#!/usr/bin/env bash
# The Debian package on this machine, as root: lintian finds no error in
# it; dpkg -i installs it with what it depends on at hand; it holds exactly
# the expected files, which validate; /usr/bin/morvane maps its window with
# the installed icon and "WEB >" hands the installed home page to the
# browser; dpkg -r removes it and leaves nothing behind. The package is
# removed again on any failure.
#   package.sh DEB PROBE ARTIFACTS
deb=${1:?the .deb}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh" /usr/bin/morvane "$2" "$3"
source "$here/checks.sh"
[ "$(id -u)" -eq 0 ] || fail "the package test installs system-wide: run it as root"
[ -f "$deb" ] || fail "no package at $deb"
if dpkg-query -W -f='${Status}' morvane 2>/dev/null | grep -q "install ok installed"; then
    fail "morvane is installed already; remove it first (dpkg -r morvane)"
fi

installed=0
remove_package() {
    [ "$installed" = 1 ] || return 0
    [ -z "$E2E_PID" ] || kill "$E2E_PID" 2>/dev/null || true
    dpkg -r morvane >/dev/null 2>&1 || true
}
# lib.sh's cleanup ends the processes and removes the scratch folder, and
# exits with the script's status; the package goes first.
trap 'package_rc=$?; remove_package; (exit $package_rc); e2e_cleanup' EXIT

lintian --fail-on error "$deb" >"$E2E_WORK/lintian.txt" 2>&1 || { cat "$E2E_WORK/lintian.txt" >&2; fail "lintian finds errors"; }

# What lies under /usr, /etc and dpkg's own records before: the same must
# be there after dpkg -r.
snapshot() { find /usr /etc /var/lib/dpkg/info -xdev \( -type f -o -type l -o -type d \) 2>/dev/null | LC_ALL=C sort; }
snapshot >"$E2E_WORK/before.txt"

installed=1
dpkg -i "$deb" >"$E2E_WORK/dpkg.log" 2>&1 || { cat "$E2E_WORK/dpkg.log" >&2; fail "dpkg -i failed (missing dependencies?)"; }
dpkg -L morvane | while read -r f; do [ -d "$f" ] || echo "$f"; done >"$E2E_WORK/list"
check_installed /usr "$E2E_WORK/list" debian
e2e_start_x
check_running /usr
kill "$E2E_PID"
wait "$E2E_PID" 2>/dev/null || true
E2E_PID=

dpkg -r morvane >"$E2E_WORK/dpkg.log" 2>&1 || { cat "$E2E_WORK/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=0
snapshot >"$E2E_WORK/after.txt"
if ! diff -u "$E2E_WORK/before.txt" "$E2E_WORK/after.txt" >"$E2E_WORK/left.diff"; then
    cat "$E2E_WORK/left.diff" >&2
    fail "dpkg -r left the system otherwise than it was (- before, + after)"
fi
echo "ok: lintian clean, installed, validated, /usr/bin/morvane opened $(cat "$E2E_WORK/opened.txt"), removed without a trace"
