#!/usr/bin/env bash
# Start-up, memory, idle CPU and key-to-screen time of the real window under a
# private Xvfb, with an empty frameless Qt 6 window measured in the same pass
# as the floor. The measuring is done by ../shared/peerbench/measure.sh; this
# script adds the display rectangle for the key test, runs it and prints a
# summary with the ratios to the floor.
#
#   bench/window.sh [path/to/morvane]        (default: build/morvane)
#
# Environment:
#   RUNS=5                 measured runs per program (plus one unmeasured first run)
#   PEERS=/tmp/...         scratch and results (default: a fresh /tmp/morvane-window.XXXXXX)
#   PEERBENCH=...          the peerbench folder (default: ../shared/peerbench beside the repo)
#   MORVANE_DISPLAY_RECT   x,y,w,h of the log line inside the window, for the display-only
#                          key test (default: the log line of the layout, without the cursor)
#
# Needs (Debian): xvfb x11-utils imagemagick procps dbus libglib2.0-bin libx11-dev
# libxtst-dev gcc python3 qt6-base-dev. It installs nothing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${1:-$root/build/morvane}
[ -x "$bin" ] || { echo "window.sh: no executable at $bin (build it first, or pass its path)" >&2; exit 2; }
bin=$(cd "$(dirname "$bin")" && pwd)/$(basename "$bin")

needed=(xvfb x11-utils imagemagick procps dbus libglib2.0-bin libx11-dev libxtst-dev gcc python3 qt6-base-dev)
missing=()
for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "window.sh needs these Debian packages: ${missing[*]}" >&2
    echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 2
fi

peerbench=${PEERBENCH:-$root/../shared/peerbench}
[ -f "$peerbench/measure.sh" ] || { echo "window.sh: no measure.sh in $peerbench (set PEERBENCH)" >&2; exit 2; }
peerbench=$(cd "$peerbench" && pwd)
export PEERS=${PEERS:-$(mktemp -d /tmp/morvane-window.XXXXXX)}
mkdir -p "$PEERS"

# The log line nivel2(0): frame "pila" at (330, 780) twips, the line at
# (360, 1590) inside it, 2565 x 255 twips; 15 twips a pixel. Its last five
# pixels hold the blinking cursor (Shape1 at x = 2910 twips), left out so that
# the blink is not taken for the key's answer.
rect=${MORVANE_DISPLAY_RECT:-46,158,169,17}
# The floor's label: the same rectangle as the framed floor's entry in measure.sh.
floor_rect=10,10,226,40

# measure.sh keeps its key-test rectangles in a table inside the script (an
# associative array cannot come through the environment), and has none for
# morvane or the frameless floor. Run a copy of the folder whose table has
# those two entries more; everything else is byte for byte the same.
copy=$PEERS/peerbench
rm -rf "$copy"
cp -rp "$peerbench" "$copy"
chmod -R u+w "$copy"
sed -i "s|^declare -A KEYTEST=($|&\n  [morvane]=\"$rect\"\n  [qtfloor-frameless]=\"$floor_rect\"|" "$copy/measure.sh"
added=$(diff "$peerbench/measure.sh" "$copy/measure.sh" | grep -c '^>' || true)
removed=$(diff "$peerbench/measure.sh" "$copy/measure.sh" | grep -c '^<' || true)
if [ "$added" != 2 ] || [ "$removed" != 0 ]; then
    echo "window.sh: could not add the key-test rectangles to measure.sh (its table changed?)" >&2
    exit 1
fi

echo "morvane: $bin"
echo "scratch and results: $PEERS"
echo "key test rectangles: morvane $rect, qtfloor-frameless $floor_rect"
MORVANE=$bin bash "$copy/measure.sh" ${ORDER:-} -n "${RUNS:-5}" qtfloor-frameless morvane

echo
echo "## Morvane against the empty frameless Qt 6 window (medians of the measured runs)"
echo
python3 - "$PEERS/results" <<'EOF'
import csv, os, statistics, sys

out = sys.argv[1]

def num(v):
    try:
        return float(v)
    except (TypeError, ValueError):
        return None

def med(vals):
    vals = [v for v in vals if v is not None]
    return statistics.median(vals) if vals else None

runs = {}
with open(os.path.join(out, "runs.csv")) as f:
    for row in csv.DictReader(f):
        if row["status"] == "ok" and row["run"] != "0":
            runs.setdefault(row["name"], []).append(row)
keys = {}
kp = os.path.join(out, "keys.csv")
if os.path.exists(kp):
    with open(kp) as f:
        for row in csv.DictReader(f):
            v = num(row["ms"])
            keys.setdefault((row["name"], row["scope"]), []).append(v if v is not None and v >= 0 else None)

def col(name, field, scale=1.0):
    return med([num(r[field]) / scale if num(r[field]) is not None else None for r in runs.get(name, [])])

def keymed(name, scope):
    return med(keys.get((name, scope), []))

def misses(name, scope):
    return sum(1 for v in keys.get((name, scope), []) if v is None)

def fmt(v, d):
    return "-" if v is None else ("%." + str(d) + "f") % v

rows = [
    ("first mapped window, ms", "map_ms", 1.0, 0, None),
    ("first paint, ms", "paint_ms", 1.0, 0, "x1.2 floor"),
    ("settled, ms", "settle_ms", 1.0, 0, None),
    ("resident memory after 2 s, MB", "rss_kb", 1024.0, 1, "x1.05 floor"),
    ("unique memory (USS), MB", "uss_kb", 1024.0, 1, None),
    ("idle CPU over 10 s, % of a core", "idle_cpu_sched_pct", 1.0, 3, "< 0.05"),
    ("idle wake-ups per second", "wakeups_per_s", 1.0, 1, None),
    ("threads", "threads", 1.0, 0, None),
]
print("| measure | floor (qtfloor-frameless) | morvane | morvane / floor | goal |")
print("|---|---|---|---|---|")
for label, field, scale, d, goal in rows:
    f, m = col("qtfloor-frameless", field, scale), col("morvane", field, scale)
    ratio = "%.2f" % (m / f) if f and m is not None else "-"
    print("| %s | %s | %s | %s | %s |" % (label, fmt(f, d), fmt(m, d), ratio, goal or ""))
for scope, label in (("window", "key-to-screen, whole window, ms"), ("display", "key-to-screen, display only, ms")):
    f, m = keymed("qtfloor-frameless", scope), keymed("morvane", scope)
    ratio = "%.2f" % (m / f) if f and m is not None else "-"
    miss = misses("morvane", scope)
    note = " (%d presses unanswered)" % miss if miss else ""
    print("| %s | %s | %s%s | %s | %s |" % (label, fmt(f, 2), fmt(m, 2), note, ratio, "< 2"))
n = max((len(v) for v in runs.values()), default=0)
print()
print("Medians of %d runs per program (key tests: every press of keys 5 and BackSpace)." % n)
print("Raw figures: %s (runs.csv, keys.csv, summary.md); screenshots: %s" % (out, os.path.join(os.path.dirname(out), "shots")))
EOF
