#!/usr/bin/env bash
# A screen reader drives the real window: over AT-SPI on a private session
# bus (at-spi2-core, python3-pyatspi), screenreader.py presses keys by their
# accessible actions, reads the log and the error box from the tree, closes
# the box with Esc and checks what claims to be showing.
source "$(dirname "$0")/lib.sh"
set -E
trap 'echo "FAIL: \"$BASH_COMMAND\" (line $LINENO) failed" >&2' ERR

python=/usr/bin/python3  # Debian's, which python3-pyatspi installs for
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is not installed (python3-pyatspi)"

e2e_start_x
e2e_start_atspi
e2e_start_morvane
centre_of pila
timeout 50 "$python" "$(dirname "$0")/screenreader.py" "$E2E_PID" "$PX" "$PY"
