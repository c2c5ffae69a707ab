"""A screen reader's walk through the real window over AT-SPI.

Run by screenreader.sh, with the window up on a private bus:
    screenreader.py PID X Y
PID is morvane's process; X, Y a screen point over its display, where the
pointer goes so that the window takes the keyboard (no window manager).

It presses 7, ENTER, 8 and + by their accessible actions and reads the log
line from the tree, hears the log's name change, lets "÷" fail on an empty
level 1 and reads the error box that a screen reader hears announced, closes
it with Esc, and checks that nothing hidden, covered or outside the window
claims to be showing.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PID, PX, PY = int(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = []
events = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL: " + what, flush=True)


def pump(seconds):
    """Runs the event loop for a while, so that events arrive."""
    ctx = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while ctx.pending():
            ctx.iteration(False)
        time.sleep(0.01)


def wait_for(predicate, seconds=5.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        pump(0.05)
    return predicate()


def walk(obj):
    for child in obj:
        if child is None:
            continue
        yield child
        yield from walk(child)


def states(obj):
    obj.clearCache()
    return obj.getState()


def showing(obj):
    return states(obj).contains(pyatspi.STATE_SHOWING)


def named(root, role, name):
    for o in walk(root):
        if o.getRoleName() == role and o.name == name:
            return o
    return None


def press(root, name):
    key = named(root, "push button", name)
    check(key is not None, "no button named %r" % name)
    if key is None:
        return
    action = key.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, "%r has no Press action: %r" % (name, names))
    action.doAction(names.index("Press"))
    pump(0.1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == PID:
            return app
    return None


def on_event(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name, event.detail1))
    except Exception as e:  # the source may be gone already
        events.append((event.type, None, str(e), event.detail1))


app = wait_for(application, 10)
if app is None:
    print("FAIL: morvane is not on the accessibility bus")
    sys.exit(1)
frames = [w for w in app if w is not None]
check(len(frames) == 1 and frames[0].getRoleName() == "frame" and frames[0].name == "Morvane",
      "the window is %r" % [(w.getRoleName(), w.name) for w in frames])
window = frames[0]

pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name",
                                       "object:state-changed:showing")
pump(1.0)  # the program learns that someone listens

# The title keys say what they do.
for title in ("Always on top", "Minimise", "Close"):
    check(named(window, "push button", title) is not None, "no title key %r" % title)

# 7 ENTER 8 + : the log reads 15.
for key in ("7", "ENTER", "8", "+"):
    press(window, key)


def log_line():
    for o in walk(window):
        if o.getRoleName() == "label" and o.name.startswith("Log: "):
            return o
    return None


log = wait_for(lambda: (lambda l: l if l is not None and l.name.startswith("Log: 15") else None)(log_line()))
check(log is not None, "the log reads %r, not 'Log: 15'" % (log_line().name if log_line() else None))
check(named(window, "label", "Level 1: empty") is not None, "level 1 is not read as empty")


def heard_log(prefix):
    return [e for e in events if e[0] == "object:property-change:accessible-name"
            and e[1] == "label" and (e[2] or "").startswith(prefix)]


check(bool(wait_for(lambda: heard_log("Log: 15"), 3)), "no name change of the log to 15 was heard: %r"
      % heard_log("Log: "))

# "÷" with an empty level 1 fails: the error box is announced as an alert
# and carries the texts of this report.
del events[:]
press(window, "÷")
alert = wait_for(lambda: next((o for o in walk(window) if o.getRoleName() == "alert" and showing(o)), None))
check(alert is not None, "no alert shows after a failing key")
if alert is not None:
    check(alert.name == "ERROR E-13", "the alert is named %r" % alert.name)
    texts = [c.name for c in walk(alert) if c.getRoleName() == "label"]
    check("ERROR E-13" in texts, "the error box reads %r" % texts)
    message = "Intenta realizar una operación sin haber introducido todos los parámetros requeridos"
    check(message in texts and alert.description == message, "the error box's message is %r" % texts)
    check("ERROR" not in texts and "Descripción del error." not in texts, "old texts in the error box: %r" % texts)
    announced = wait_for(lambda: [e for e in events if e[0] == "object:state-changed:showing"
                                  and e[1] == "alert" and e[3] == 1], 3)
    check(bool(announced), "the alert's showing was not announced: %r" % events)

# Esc closes it, as its OK does.
closed = False
for attempt in range(3):  # the keyboard follows the pointer, which may take a moment
    subprocess.run(["xdotool", "mousemove", PX, PY], check=True)
    pump(0.2)
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    closed = wait_for(lambda: alert is not None and not showing(alert), 2)
    if closed:
        break
check(closed, "Esc did not close the error box")
check(log_line() is not None and log_line().name.startswith("Log: 15"), "the log changed under the error box")

# Nothing hidden, covered or outside the window claims to be showing.
wx, wy, ww, wh = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check(ww == 246 and wh == 502, "the window's extents are %r" % ((wx, wy, ww, wh),))


def claims():
    out = []
    for o in walk(window):
        if not showing(o):
            continue
        x, y, w, h = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        cx, cy = x + w // 2, y + h // 2
        if not (wx <= cx < wx + ww and wy <= cy < wy + wh) or not states(o).contains(pyatspi.STATE_VISIBLE):
            out.append((o.getRoleName(), o.name))
    return out


check(claims() == [], "shown outside the window or while hidden: %r" % claims())
for hidden in ("hyp", "HELP > screen", "+ VAT", "IVA"):
    key = named(window, "push button", hidden)
    check(key is not None and not showing(key), "%r claims to show below the window" % hidden)

# A panel covers the stack view: its lines no longer show.
press(window, "COV")
check(wait_for(lambda: log_line() is not None and not showing(log_line())), "the log line shows under a panel")
check(claims() == [], "shown outside the window or while hidden, panel shown: %r" % claims())
press(window, "STK")
check(wait_for(lambda: log_line() is not None and showing(log_line())), "the log line does not show again")

if not failures:
    print("ok: the screen reader's walk")
sys.exit(1 if failures else 0)
