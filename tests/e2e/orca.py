"""What Orca says to a user of the real window.

    orca.py drive PID SPOKEN SHOT    (run by orca.sh while Orca runs)
    orca.py check DEBUG         (run by orca.sh once Orca has ended)

drive: a blind user's walk. Types 7, Enter, 8, + on the keyboard; presses
DEL, 7, ENTER, 8, + by their accessible actions; lets "÷" fail and closes
the error box with Esc; lets the keyboard's "/" fail; moves with Tab and
Shift+Tab; asks "where am I" (KP_Enter); reaches "COV" with Tab, opens it
with Space and converts the log from kilometres to miles with the arrows
and Space. Each step waits until the speech dispatcher was given what the
step should make Orca say (SPOKEN), or a few seconds. SHOT: a screenshot
with the focus mark on "COV".

check: Orca's "SPEECH OUTPUT" lines in DEBUG, the texts a user hears, hold
what each step should say, in order: the results with no keystroke of their
own, the error's number and Spanish message, the focused key's name, the
log's value on "where am I", the panel's title and the converted value.
"""
import re
import subprocess
import sys
import time

MESSAGE = "Intenta realizar una operación sin haber introducido todos los parámetros requeridos"
# 15 km in US miles, as the log line shows it (ten decimals at most).
MILES = r"9\.3205492424"


def spoken_lines(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []


class Walk:
    def __init__(self, pid, spoken):
        self.pid, self.spoken = pid, spoken
        self.app = None

    def wait(self, pattern, seconds=8.0, since=None):
        """Waits until the speech dispatcher was given a text matching
        pattern; gives the texts it was given since, or [] if not."""
        start = len(spoken_lines(self.spoken)) if since is None else since
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            new = spoken_lines(self.spoken)[start:]
            if any(re.search(pattern, line) for line in new):
                return new
            time.sleep(0.05)
        print("note: %r not heard within %.0f s" % (pattern, seconds), flush=True)
        return []

    def key(self, name, pattern=None, seconds=8.0):
        mark = len(spoken_lines(self.spoken))
        subprocess.run(["xdotool", "key", name], check=True)
        if pattern:
            return self.wait(pattern, seconds, mark)
        time.sleep(0.5)
        return []

    def press(self, name, pattern):
        """Presses a key of the window by its accessible action, as a screen reader's user may."""
        import pyatspi
        if self.app is None:
            desktop = pyatspi.Registry.getDesktop(0)
            self.app = next((a for a in desktop if a is not None and a.get_process_id() == self.pid), None)
            if self.app is None:
                sys.exit("FAIL: morvane is not on the accessibility bus")

        def walk(obj):
            for child in obj:
                if child is not None:
                    yield child
                    yield from walk(child)

        key = next((o for o in walk(self.app) if o.getRoleName() == "push button" and o.name == name), None)
        if key is None:
            sys.exit("FAIL: no button named %r" % name)
        mark = len(spoken_lines(self.spoken))
        action = key.queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
        return self.wait(pattern, 8.0, mark)


def drive(pid, spoken, shot):
    w = Walk(pid, spoken)
    if not w.wait(r"^Log: empty label", 30, 0):
        sys.exit("FAIL: Orca never read the window's log line")
    # The keyboard.
    w.key("7", r"^7 ?$")
    w.key("Return", r"Level 1: 7, log empty")
    w.key("8", r"^8 ?$")
    w.key("plus", r"^15\.?$")
    # The keys on screen, by their accessible actions.
    w.press("DEL", r"Log empty")
    w.press("7", r"^7\.?$")
    w.press("ENTER", r"Level 1: 7, log empty")
    w.press("8", r"^8\.?$")
    w.press("+", r"^15\.?$")
    # Errors: the keypad's error box, closed with Esc; the keyboard's.
    w.press("÷", r"OK push button")
    w.key("Escape", r"^Log: 15 label")
    w.key("slash", r"ERROR E-13")
    # Tab to the next key, back to the log, and "where am I".
    w.key("Tab", r"push button")
    w.key("shift+Tab", r"^Log: 15 label")
    w.key("KP_Enter", r"^Log: 15 label")
    # COV: reached with Tab, opened with Space; kilometre to US mile.
    for _ in range(60):
        if any(re.search(r"^COV push button", t) for t in w.key("Tab", r"push button|label")):
            break
    else:
        sys.exit("FAIL: Tab never reached COV")
    subprocess.run(["import", "-window", "root", shot], check=True)
    w.key("space", r"Temperature push button")
    w.key("Down", r"push button")
    w.key("Down", r"Distance push button")
    w.key("space", r"meter push button")
    for _ in range(4):
        w.key("Down", r"push button")
    w.key("Down", r"kilometer push button")
    w.key("space", r"kilometer to")
    w.key("Right", r"push button")
    w.key("Up", r"push button")
    w.key("Up", r"mile\(US\) push button")
    w.key("space", r"^9\.32")
    time.sleep(1.0)


def check(debug):
    heard = []
    with open(debug, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.search(r"SPEECH OUTPUT: '(.*)' ?\{", line)
            if m:
                heard.append(m.group(1))
    print("Orca said:", flush=True)
    for text in heard:
        print("    " + text)
    failures = []
    at = 0

    def find(pattern, what):
        nonlocal at
        for i in range(at, len(heard)):
            if re.search(pattern, heard[i]):
                at = i + 1
                return i
        failures.append("%s: nothing matching %r after %r" % (what, pattern, heard[at - 1] if at else "the start"))
        return None

    def steps(what, *patterns):
        return [find(p, what) for p in patterns]

    def nothing_between(first, last, pattern, what):
        if first is None or last is None:
            return
        said = [t for t in heard[first + 1:last] if re.search(pattern, t)]
        if said:
            failures.append("%s: %r" % (what, said))

    steps("Orca starts on the log line", r"^Screen reader on", r"^Log: empty label")
    seven, enter = steps("7 Enter 8 + typed", r"^7 $", r"^return $")
    nothing_between(seven, enter, r"^7\.?$|^Log", "a typed digit is read back though Orca echoes it")
    steps("7 Enter 8 + typed", r"^Level 1: 7, log empty\.?$", r"^8 $", r"^plus $", r"^15\.?$")
    steps("DEL 7 ENTER 8 + pressed by their actions", r"^Log empty\.?$", r"^7\.?$",
          r"^Level 1: 7, log empty\.?$", r"^8\.?$", r"^15\.?$")
    steps("÷ with level 1 empty: the error box", r"^alert ERROR E-13\.?$", re.escape(MESSAGE), r"^OK push button\.?$")
    steps("Esc closes the error box; the focus is back on the log", r"^escape $", r"^Log: 15 label\.?$")
    steps("/ on the keyboard with level 1 empty", r"^slash $", r"^ERROR E-13\. " + re.escape(MESSAGE))
    steps("Tab reaches the next key", r"^tab $", r"^Previous page push button\.?$")
    steps("Shift+Tab back on the log", r"^Log: 15 label\.?$")
    where = find(r"^Log: 15 label\.?$", "\"where am I\" reads the log's value")
    nothing_between(where, where and min(len(heard), where + 4), r"^Level 1", "KP_Enter reached the calculator")
    steps("Tab reaches COV", r"^COV push button\.?$")
    steps("COV opens the converter", r"^space $", r"^CONVERT panel\.?$", r"^Temperature push button\.?$")
    steps("the arrows and Space choose a category and a unit", r"^Distance push button\.?$", r"^space $",
          r"^meter push button\.?$", r"^kilometer push button\.?$", r"^space $", r"^kilometer to\.\.\.")
    steps("the second unit converts", r"^mile\(US\) push button\.?$", r"^space $", r"^" + MILES + r"\.?$")
    for f in failures:
        print("FAIL: " + f, flush=True)
    if not failures:
        print("ok: Orca said what a user needs at every step")
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["drive"]:
        drive(int(sys.argv[2]), sys.argv[3], sys.argv[4])
    elif sys.argv[1:2] == ["check"]:
        sys.exit(check(sys.argv[2]))
    else:
        sys.exit(__doc__)
