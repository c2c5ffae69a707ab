# shellcheck shell=bash
# What an installed Morvane must hold and do, shared by the install test
# (a private prefix, moved after installing) and the package test (/usr).
# Sourced after ../e2e/lib.sh, which gives fail, poll, the Xvfb display and
# the clicks.

APP_ID=org.morvane.Morvane
ICON_SIZES=(16 32 48 64 128 256)

# The files an installation holds under PREFIX, one a line, sorted; with
# "debian" the package's layout (compressed manual page, copyright and
# changelog).
expected_files() {  # PREFIX [debian]
    local p=$1 s
    {
        echo "$p/bin/morvane"
        echo "$p/share/applications/$APP_ID.desktop"
        echo "$p/share/icons/hicolor/scalable/apps/$APP_ID.svg"
        for s in "${ICON_SIZES[@]}"; do echo "$p/share/icons/hicolor/${s}x${s}/apps/$APP_ID.png"; done
        echo "$p/share/metainfo/$APP_ID.metainfo.xml"
        echo "$p/share/morvane/web/ayuda.htm"
        echo "$p/share/morvane/web/index.htm"
        echo "$p/share/morvane/web/style.css"
        if [ "${2:-}" = debian ]; then
            echo "$p/share/man/man1/morvane.1.gz"
            echo "$p/share/doc/morvane/changelog.gz"
            echo "$p/share/doc/morvane/copyright"
        else
            echo "$p/share/man/man1/morvane.1"
        fi
    } | LC_ALL=C sort
}

# The installed files are exactly the expected ones, and each of them is
# what a desktop wants: entries and metadata that validate, icons of their
# sizes, a manual page without warnings, the program answering --version.
check_installed() {  # PREFIX LISTFILE [debian]
    local p=$1 list=$2 s size
    if ! diff -u <(expected_files "$p" "${3:-}") <(LC_ALL=C sort "$list") >"$E2E_WORK/files.diff"; then
        cat "$E2E_WORK/files.diff" >&2
        fail "the installed files are not the expected ones (- expected, + installed)"
    fi
    local desktop=$p/share/applications/$APP_ID.desktop
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    grep -qx "Icon=$APP_ID" "$desktop" || fail "the desktop entry names another icon"
    grep -qx "Exec=morvane" "$desktop" || fail "the desktop entry starts another program"
    grep -qx "Categories=Utility;Calculator;" "$desktop" || fail "the desktop entry's categories changed"
    appstreamcli validate --no-net "$p/share/metainfo/$APP_ID.metainfo.xml" >"$E2E_WORK/appstream.log" 2>&1 ||
        { cat "$E2E_WORK/appstream.log" >&2; fail "appstreamcli rejects the metadata"; }
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$p/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "the metadata does not name the desktop entry"
    for s in "${ICON_SIZES[@]}"; do
        size=$(identify -format '%wx%h' "$p/share/icons/hicolor/${s}x${s}/apps/$APP_ID.png")
        [ "$size" = "${s}x${s}" ] || fail "the ${s} px icon is $size"
    done
    grep -q '<svg ' "$p/share/icons/hicolor/scalable/apps/$APP_ID.svg" || fail "the scalable icon is no SVG"
    local man
    man=$(ls "$p"/share/man/man1/morvane.1*)
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man" >"$E2E_WORK/man.txt" 2>"$E2E_WORK/man.err" ||
        fail "man cannot format $man"
    [ ! -s "$E2E_WORK/man.err" ] || { cat "$E2E_WORK/man.err" >&2; fail "the manual page has warnings"; }
    grep -q -- "--version" "$E2E_WORK/man.txt" || fail "the manual page lacks the options"
    grep -q "share/morvane/web/index.htm" "$E2E_WORK/man.txt" || fail "the manual page does not name the pages"
    [ "$(env -i "$p/bin/morvane" --version)" = "morvane 4.0" ] || fail "morvane --version says otherwise"
}

# The window's icon as the window system has it (_NET_WM_ICON), the
# size x size picture cut out of it into a PNG.
window_icon() {  # WINDOW SIZE OUT.png
    xprop -id "$1" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$E2E_WORK/icon.values" || return 1
    tr -d ',' <"$E2E_WORK/icon.values" | awk -v want="$2" '
        { sub(/^[^=]*= */, ""); for (i = 1; i <= NF; i++) v[n++] = $i }
        END {
            i = 0
            while (i + 1 < n) {
                w = v[i]; h = v[i + 1]; i += 2
                if (w == want && h == want) {
                    print "# ImageMagick pixel enumeration: " w "," h ",255,srgba"
                    for (k = 0; k < w * h; k++) {
                        p = v[i + k]
                        a = int(p / 16777216) % 256; r = int(p / 65536) % 256; g = int(p / 256) % 256; b = p % 256
                        printf "%d,%d: (%d,%d,%d,%d)\n", k % w, int(k / w), r, g, b, a
                    }
                    exit
                }
                i += w * h
            }
        }' >"$E2E_WORK/icon.txt"
    [ -s "$E2E_WORK/icon.txt" ] || return 1
    convert "txt:$E2E_WORK/icon.txt" "$3"
}

# Runs PREFIX/bin/morvane on the Xvfb display: the window maps with the
# installed icon and names its desktop entry; "WEB >" hands the installed
# home page to the browser ($BROWSER, through xdg-open).
check_running() {  # PREFIX
    local p=$1
    local opened=$E2E_WORK/opened.txt
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> %s\n' "$opened" >"$E2E_WORK/browser"
    chmod +x "$E2E_WORK/browser"
    e2e_start_morvane BROWSER="$E2E_WORK/browser"
    # The icon follows the first frame. (The property is read whole before
    # it is searched: grep -q would stop reading, and xprop would fail.)
    _has_icon() { xprop -id "$WIN" _NET_WM_ICON >"$E2E_WORK/icon.prop" 2>&1 && grep -q "Icon (32 x 32)" "$E2E_WORK/icon.prop"; }
    poll 5 _has_icon || fail "the window carries no 32 x 32 icon"
    local s
    for s in 16 48 64; do
        grep -q "Icon ($s x $s)" "$E2E_WORK/icon.prop" || fail "the window's icon has no $s px picture"
    done
    window_icon "$WIN" 32 "$E2E_WORK/window-icon.png" || fail "cannot read the window's icon"
    convert "$p/share/icons/hicolor/32x32/apps/$APP_ID.png" -background black -alpha remove "$E2E_WORK/installed.png"
    convert "$E2E_WORK/window-icon.png" -background black -alpha remove "$E2E_WORK/shown-icon.png"
    # Rendered by Qt and by librsvg: the same shapes, antialiased a little
    # differently at their edges (an RMSE of about 0.0004; square corners
    # instead of round ones give 0.014, a gradient upside down 0.05).
    local rmse
    rmse=$( (compare -metric RMSE "$E2E_WORK/shown-icon.png" "$E2E_WORK/installed.png" null: 2>&1 || true) | sed "s/.*(\(.*\))/\1/")
    awk -v e="$rmse" 'BEGIN { exit !(e < 0.005) }' ||
        fail "the window's icon is not the installed icon (RMSE $rmse)"
    xprop -id "$WIN" _KDE_NET_WM_DESKTOP_FILE _GTK_APPLICATION_ID WM_CLASS >"$E2E_WORK/names.prop"
    grep -q "^_KDE_NET_WM_DESKTOP_FILE.*\"$APP_ID\"" "$E2E_WORK/names.prop" || fail "the window names no desktop entry"
    grep -q "^_GTK_APPLICATION_ID.*\"$APP_ID\"" "$E2E_WORK/names.prop" || fail "the window names no application id"
    grep -q '^WM_CLASS.*"morvane"' "$E2E_WORK/names.prop" || fail "WM_CLASS does not match StartupWMClass"
    click Label10 0  # WEB >
    _opened() { [ -s "$opened" ]; }
    poll 5 _opened || fail "WEB > handed nothing to the browser"
    [ "$(cat "$opened")" = "file://$p/share/morvane/web/index.htm" ] ||
        fail "WEB > opened '$(cat "$opened")', not the installed home page"
    screen "$E2E_WORK/screen.png"
    crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/$(basename "$0" .sh).png"
}
