#!/usr/bin/env bash
# The tool panels through the real window: 2 km converted to metres with
# the mouse ("COV", " Distance", " kilometer", " meter"), a unit under the
# pointer turning bright green, and a value stored with ">MEM" recalled from
# the memory list by a click on its row. Screenshots of every panel are kept
# (panel-*.png).
source "$(dirname "$0")/lib.sh"

HOVER=0,255,0

# The middle of row ROW of list box listmemory(LIST) on the first page:
# rows are 150 twips (10 px) high from the list's offset.
row_centre() {  # LIST ROW
    local w h x y
    read -r w h x y <<<"${E2E_BOX[listmemory $1]}"
    PX=$((WX + x + w / 2))
    PY=$((WY + y + $2 * 10 + 5))
}

keep() {  # NAME: the window now, as panel-NAME.png
    screen "$E2E_WORK/screen.png"
    crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/panel-$1.png"
}

e2e_start_x
e2e_start_morvane
expected_logs "$E2E_WORK/km.png" --log 2000 "$E2E_WORK/two.png" --log 2

# 2 in the log, then the converter's distance table.
click numero 2
click monitor 1
click ctype 2
click unidad 5   # kilometer: unit A
# The pointer over " mil" lights it.
centre_of unidad 6
xdotool mousemove "$PX" "$PY"
_lit() {
    screen "$E2E_WORK/screen.png"
    [ "$(pixel "$E2E_WORK/screen.png" $((PX + 40)) "$PY")" = $HOVER ]
}
poll 3 _lit || fail "the unit under the pointer is not bright green"
crop_window "$E2E_WORK/screen.png" "$ARTIFACTS/panel-converter.png"
click unidad 0   # meter
wait_log_equals "$E2E_WORK/km.png" "2000 after 2 kilometer to meter"

click monitor 2
keep multipliers
click monitor 3
click utype 0
keep constants
click monitor 8
keep info

# Three values stored, the second recalled from its row.
click tecla 65   # del>
for v in 1 2 3; do
    click numero "$v"
    click tecla 55   # >MEM
done
click monitor 4
keep memory
row_centre 1 1
xdotool mousemove "$PX" "$PY" click 1
wait_log_equals "$E2E_WORK/two.png" "2 recalled from the memory list's second row"
echo "ok: the converter gave 2000, the memory list recalled 2; panel-*.png in $ARTIFACTS"
