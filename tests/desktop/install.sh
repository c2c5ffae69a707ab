#!/usr/bin/env bash
# cmake --install under a prefix of its own, then the whole tree moved
# elsewhere: the files a desktop needs are there and valid, and the moved
# program still finds its own pages and shows its icon.
#   install.sh BUILD-DIR PROBE ARTIFACTS
build=${1:?build folder}
here=$(cd "$(dirname "$0")" && pwd)
# The program's path is known once it is installed (below).
source "$here/../e2e/lib.sh" "(installed below)" "$2" "$3"
source "$here/checks.sh"
for tool in desktop-file-validate appstreamcli man identify xdg-open; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (desktop-file-utils appstream man-db imagemagick xdg-utils)"
done

cmake --install "$build" --prefix "$E2E_WORK/first" >"$E2E_WORK/install.log" || { cat "$E2E_WORK/install.log" >&2; fail "cmake --install failed"; }
prefix=$E2E_WORK/moved/elsewhere
mkdir -p "$(dirname "$prefix")"
mv "$E2E_WORK/first" "$prefix"
find "$prefix" -type f >"$E2E_WORK/list"
layout=
[ ! -d "$prefix/share/doc/morvane" ] || layout=debian  # a build with -DMORVANE_DEBIAN_DOCS=ON
check_installed "$prefix" "$E2E_WORK/list" $layout

MORVANE=$prefix/bin/morvane
e2e_start_x
check_running "$prefix"
echo "ok: installed, moved, validated; the moved program opened $(cat "$E2E_WORK/opened.txt")"
