"""A screen reader's walk through the real window over AT-SPI.

    screenreader.py PID X Y     (run by screenreader.sh)

PID is morvane's process; X, Y a screen point over its display, where the
pointer goes so that the window takes the keyboard (no window manager).
Reads the tree as a screen reader finds it: no decorations, each level
once, the status line as a status bar of words, named arrow keys. Presses
7, ENTER, 8, + by their accessible actions and reads the log from the tree,
hears the display lines' names change; lets "÷" fail and reads the error
box that is announced as an alert; closes it with Esc; checks that nothing
hidden, covered or outside the window claims to be showing, and that the
states a screen reader caches (as Orca does) stay true while the error box
and a panel come and go.
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PID, PX, PY = int(sys.argv[1]), sys.argv[2], sys.argv[3]
failures, events = [], []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL: " + what, flush=True)


def wait_for(predicate, seconds=5.0):
    """Runs the event loop until predicate() gives something true."""
    ctx, end = GLib.MainContext.default(), time.monotonic() + seconds
    while True:
        while ctx.pending():
            ctx.iteration(False)
        value = predicate()
        if value or time.monotonic() > end:
            return value
        time.sleep(0.02)


def walk(obj):
    for child in obj:
        if child is not None:
            yield child
            yield from walk(child)


def states(obj):
    obj.clearCache()
    return obj.getState()


def showing(obj):
    return states(obj).contains(pyatspi.STATE_SHOWING)


def cached(obj):
    """Showing and visible as a screen reader that caches states sees them:
    true only while the events kept them so."""
    s = obj.getState()
    return s.contains(pyatspi.STATE_SHOWING) and s.contains(pyatspi.STATE_VISIBLE)


def find(role, test):
    return next((o for o in walk(window) if o.getRoleName() == role and test(o.name)), None)


def press(name, shown_only=False):
    key = next((o for o in walk(window) if o.getRoleName() == "push button" and o.name == name
                and (showing(o) or not shown_only)), None)
    check(key is not None, "no button named %r" % name)
    if key is not None:
        action = key.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Press" in names, "%r has no Press action: %r" % (name, names))
        action.doAction(names.index("Press"))


def log_line():
    return find("label", lambda n: n.startswith("Log: "))


def claims():
    """Controls that show although they are hidden or their middle is outside the window."""
    out = []
    for o in walk(window):
        if showing(o):
            x, y, w, h = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            inside = wx <= x + w // 2 < wx + ww and wy <= y + h // 2 < wy + wh
            if not inside or not states(o).contains(pyatspi.STATE_VISIBLE):
                out.append((o.getRoleName(), o.name))
    return out


def heard(e):
    try:
        events.append((e.type, e.source.getRoleName(), e.source.name or "", e.detail1))
    except Exception as error:  # the source may be gone already
        events.append((e.type, None, str(error), e.detail1))


def main():
    global window, wx, wy, ww, wh
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.get_process_id() == PID), None), 10)
    if app is None:
        raise SystemExit("FAIL: morvane is not on the accessibility bus")
    frames = [w for w in app if w is not None]
    check([(w.getRoleName(), w.name) for w in frames] == [("frame", "Morvane")],
          "the window is %r" % [(w.getRoleName(), w.name) for w in frames])
    window = frames[0]
    wx, wy, ww, wh = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check((ww, wh) == (246, 502), "the window's extents are %r" % ((wx, wy, ww, wh),))

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name",
                                           "object:state-changed:showing")
    wait_for(lambda: False, 1.0)  # the program learns that someone listens

    # What the tree holds: no decoration, each level once, the status line as
    # a status bar whose items say what they mean, every button named.
    labels = [o.name for o in walk(window) if o.getRoleName() == "label"]
    for decoration in ("1:", "2:", "LOG", ">", "ON", "R"):
        check(decoration not in labels, "the decoration %r is read" % decoration)
    check(len([n for n in labels if n.startswith("Level 1: ")]) == 1, "level 1 is read %r" % labels)
    buttons = [o.name for o in walk(window) if o.getRoleName() == "push button"]
    check("" not in buttons, "a button has no name: %r" % buttons)
    check("Up" in buttons and "Down" in buttons, "no Up and Down keys: %r" % buttons)
    bars = [o for o in walk(window) if o.getRoleName() == "status bar"]
    check(len(bars) == 1, "status bars: %r" % bars)
    if bars:
        items = [o.name for o in bars[0] if o is not None and o.getRoleName() != "notification"]
        for word in ("Degrees", "Hyperbolic off", "Decimals: all"):
            check(word in items, "the status bar lacks %r: %r" % (word, items))
        check(any(re.match(r"Levels in use: \d+$", n) for n in items), "no levels in use: %r" % items)
        check(any(re.match(r"\d+:\d\d", n) for n in items), "no time: %r" % items)
    # The lines on screen (levels 1 to 5 and the log), whose cached states
    # are read from here on without clearing them.
    lines = [find("label", lambda n, i=i: n.startswith("Level %d: " % i)) for i in range(1, 6)]
    lines.append(log_line())
    check(all(cached(o) for o in lines), "the display lines do not start showing")

    for key in ("7", "ENTER", "8", "+"):
        press(key)
    check(wait_for(lambda: log_line() is not None and log_line().name.startswith("Log: 15")),
          "the log reads %r, not 'Log: 15'" % (log_line() and log_line().name))
    check(find("label", lambda n: n == "Level 1: empty") is not None, "level 1 is not read as empty")
    check(wait_for(lambda: [e for e in events if e[0].endswith("accessible-name") and e[2].startswith("Log: 15")], 3),
          "no name change of the log was heard: %r" % events)
    # Level 1 changed twice (7, then empty): its line's name changed.
    check(wait_for(lambda: [e for e in events if e[0].endswith("accessible-name") and e[2].startswith("Level 1: ")], 3),
          "no name change of level 1 was heard: %r" % events)

    # "÷" on an empty level 1 fails: an alert with this report's texts shows.
    del events[:]
    press("÷")
    alert = wait_for(lambda: next((a for a in [find("alert", lambda n: True)] if a is not None and showing(a)), None))
    check(alert is not None, "no alert shows after a failing key")
    if alert is not None:
        message = "Intenta realizar una operación sin haber introducido todos los parámetros requeridos"
        texts = [c.name for c in walk(alert) if c.getRoleName() == "label"]
        check(alert.name == "ERROR E-13" and alert.description == message,
              "the alert reads %r: %r" % (alert.name, alert.description))
        check("ERROR E-13" in texts and message in texts and "ERROR" not in texts, "the error box reads %r" % texts)
        check(wait_for(lambda: [e for e in events if e[1] == "alert" and e[0].endswith("showing") and e[3] == 1], 3),
              "the alert's showing was not announced: %r" % events)
        check(wait_for(lambda: not any(cached(o) for o in lines), 3), "display lines are cached as showing under the error box")
        for attempt in range(3):  # the keyboard follows the pointer, which may take a moment
            subprocess.run(["xdotool", "mousemove", PX, PY], check=True)
            wait_for(lambda: False, 0.2)
            subprocess.run(["xdotool", "key", "Escape"], check=True)
            if wait_for(lambda: not showing(alert), 2):
                break
        check(not showing(alert), "Esc did not close the error box")
        # The display is there again for a screen reader that caches states.
        check(wait_for(lambda: all(cached(o) for o in lines), 3),
              "after the error box, the display is cached as hidden: %r" % [o.name for o in lines if not cached(o)])

    check(claims() == [], "shown outside the window or while hidden: %r" % claims())
    panel = find("panel", lambda n: n == "CONVERT")
    check(panel is not None and not cached(panel), "the converter is found shown before it opens")
    for o in lines:
        cached(o)  # in the cache again
    press("COV")  # a panel covers the stack view
    check(wait_for(lambda: not any(cached(o) for o in lines), 3), "display lines are cached as showing under a panel")
    check(panel is not None and wait_for(lambda: cached(panel), 3), "the open converter is cached as not showing")
    check(not showing(log_line()), "the log line shows under a panel")
    check(claims() == [], "shown outside the window or while hidden, panel shown: %r" % claims())
    for o in lines + [panel]:
        cached(o)
    press("STK")  # the stack utilities cover the stack view in turn
    check(wait_for(lambda: not showing(log_line())), "the log line shows under the stack utilities")
    press("OK", shown_only=True)  # their OK
    check(wait_for(lambda: all(cached(o) for o in lines), 3), "the display lines are cached as hidden after the panel")
    check(wait_for(lambda: not cached(panel), 3), "the closed converter is cached as showing")
    check(showing(log_line()), "the log line does not show again")


def run():
    # Inside the accessibility event loop, as Orca runs: only there does a
    # client keep states in its cache, which events alone keep true.
    try:
        main()
    except SystemExit as e:
        failures.append(str(e))
        print(e, flush=True)
    finally:
        pyatspi.Registry.stop()
    return False


GLib.idle_add(run)
pyatspi.Registry.start(gil=False)
if not failures:
    print("ok: the screen reader's walk")
sys.exit(1 if failures else 0)
