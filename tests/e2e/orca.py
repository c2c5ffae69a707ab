"""What Orca says to a blind user's walk through the real window.

    orca.py drive PID SPOKEN SHOT    (run by orca.sh while Orca runs)
    orca.py check DEBUG              (run by orca.sh once Orca has ended)

drive: takes the steps below with xdotool and with the keys' accessible
actions, each once the speech dispatcher was given (SPOKEN) what the step
before made Orca say, or after a few seconds; SHOT: a screenshot with the
focus on "COV".
check: Orca's "SPEECH OUTPUT" lines in DEBUG, the texts a user hears, hold
what each step makes Orca say, in order, and nothing a step must not say.
"""
import re
import subprocess
import sys
import time

MESSAGE = re.escape("Intenta realizar una operación sin haber introducido todos los parámetros requeridos")

# What is done (keys for xdotool, "press NAME" for a key's accessible
# action, "tab-to NAME" for Tab until Orca reads that key), what Orca then
# says, and what it must not say until the next step.
STEPS = [
    (None, [r"^Screen reader on", r"^Log: empty label"], None),  # Orca starts on the log line
    ("7", [r"^7 $"], r"^7\.?$|^Log"),  # a typed digit is left to Orca's echo
    ("Return", [r"^return $", r"^Level 1: 7, log empty\.?$"], None),
    ("8", [r"^8 $"], None),
    ("plus", [r"^plus $", r"^15\.?$"], None),
    ("press DEL", [r"^Log empty\.?$"], None),  # the keys on screen: each result said
    ("press 7", [r"^7\.?$"], None),
    ("press ENTER", [r"^Level 1: 7, log empty\.?$"], None),
    ("press 8", [r"^8\.?$"], None),
    ("press +", [r"^15\.?$"], None),
    ("press ÷", [r"^alert ERROR E-13\.?$", MESSAGE, r"^OK push button\.?$"], None),  # level 1 is empty
    ("Escape", [r"^escape $", r"^Log: 15 label\.?$"], None),
    ("slash", [r"^slash $", r"^ERROR E-13\. " + MESSAGE], None),  # the keyboard's failure
    ("Tab", [r"^tab $", r"^Previous page push button\.?$"], None),
    ("shift+Tab", [r"^Log: 15 label\.?$"], None),
    ("KP_Enter", [r"^Log: 15 label\.?$"], r"^Level 1"),  # "where am I", which the calculator never gets
    ("tab-to COV", [r"^COV push button\.?$"], None),
    ("space", [r"^space $", r"^CONVERT panel\.?$", r"^Temperature push button\.?$"], None),
    ("Down Down", [r"^Distance push button\.?$"], None),
    ("space", [r"^meter push button\.?$"], None),
    ("Down Down Down Down Down", [r"^kilometer push button\.?$"], None),
    ("space", [r"^kilometer to"], None),
    ("Right Up Up", [r"^mile\(US\) push button\.?$"], None),
    ("space", [r"^9\.3205492424\.?$"], None),  # 15 km in US miles, as the log line shows it
]


def lines(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []


def drive(pid, spoken, shot):
    import pyatspi

    def heard(pattern, since, seconds=8.0):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if any(re.search(pattern, t) for t in lines(spoken)[since:]):
                return True
            time.sleep(0.05)
        print("note: %r not heard within %.0f s" % (pattern, seconds), flush=True)
        return False

    def press(name):
        app = next(a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid)
        todo = list(app)
        while todo:
            o = todo.pop()
            if o is not None and o.getRoleName() == "push button" and o.name == name:
                action = o.queryAction()
                return action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
            todo.extend(o or [])
        sys.exit("FAIL: no button named %r" % name)

    if not heard(r"^Log: empty label", 0, 30):
        sys.exit("FAIL: Orca never read the window's log line")
    # Orca settles on the window before the walk: no speech for a second.
    settled, quiet_since = len(lines(spoken)), time.monotonic()
    deadline = quiet_since + 10
    while time.monotonic() - quiet_since < 1.0 and time.monotonic() < deadline:
        time.sleep(0.1)
        if len(lines(spoken)) != settled:
            settled, quiet_since = len(lines(spoken)), time.monotonic()
    for action, says, _ in STEPS[1:]:
        mark = len(lines(spoken))
        if action.startswith("press "):
            press(action[6:])
        elif action.startswith("tab-to "):
            for _ in range(60):
                mark = len(lines(spoken))
                subprocess.run(["xdotool", "key", "Tab"], check=True)
                if heard(r"push button|label", mark) and any(
                        re.search(says[-1], t) for t in lines(spoken)[mark:]):
                    break
            else:
                sys.exit("FAIL: Tab never reached " + action[7:])
            subprocess.run(["import", "-window", "root", shot], check=True)
        else:
            for key in action.split():
                subprocess.run(["xdotool", "key", key], check=True)
                time.sleep(0.3)
        heard(says[-1].split(r"\. ")[0], mark)  # the speech dispatcher is given a sentence at a time
    time.sleep(1.0)


def check(debug):
    said = [m.group(1) for m in re.finditer(r"SPEECH OUTPUT: '(.*)' ?\{", open(debug, encoding="utf-8").read())]
    print("Orca said:\n    " + "\n    ".join(said), flush=True)
    failures, at, spans = [], 0, []  # each step: where its first text and its last end
    for action, says, _ in STEPS:
        first = None
        for pattern in says:
            found = next((i for i in range(at, len(said)) if re.search(pattern, said[i])), None)
            if found is None:
                failures.append("after %r: nothing matching %r" % (action, pattern))
            else:
                first = found if first is None else first
                at = found + 1
        spans.append((first if first is not None else at, at))
    spans.append((len(said), len(said)))
    for (action, _, never), (_, end), (start, _) in zip(STEPS, spans, spans[1:]):
        # When the window is given the focus again ("Morvane frame.", which a
        # loaded machine may deliver late), Orca reads what has the focus:
        # that is not a text read back after the step.
        between = said[end:start]
        refocused = next((i for i, t in enumerate(between) if t.startswith("Morvane frame")), len(between))
        wrong = [t for t in between[:refocused] if never and re.search(never, t)]
        if wrong:
            failures.append("after %r: %r" % (action, wrong))
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
