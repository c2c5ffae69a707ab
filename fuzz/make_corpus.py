#!/usr/bin/env python3
"""Writes the seed corpus fuzz/corpus/ from the event lists below.

Each seed is a short, readable scenario in the input format of
fuzz_model.cpp (header byte, then opcode byte + arguments per event). Run it
again after changing the format or the seeds: python3 fuzz/make_corpus.py
"""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")

# Clipboard texts of the dictionary of fuzz_model.cpp (kTexts), by position.
TEXTS = [
    "", "0", "1", "-1", "12", "1.5", "1,5", "-0", "+7", " 42 ", "\t3\t", "1E5",
    "1e-5", "1E", "12E-", "E5", "-", ",", ".", "12,", "12.", ".5", ",5",
    "inf", "-inf", "INF", "Infinity", "nan", "NaN", "-nan", "nan(0x1)", "1.#INF",
    "1E999", "-1E999", "1E-999", "1E308", "1E+308", "-1E308", "1.7976931348623157E308",
]


def tecla(i):
    return bytes([0, i])          # opcodes 0..69, index 0..65


def num(d):
    return bytes([70, d])         # opcodes 70..109


def click(slot):
    return bytes([110]) + struct.pack("<H", slot)  # a clickable control by slot


ARRAYS = ["orden", "nivel2", "estado", "vcp", "monitor", "MANEJO", "Label10", "tecla",
          "ctype", "unidad", "convtemp", "convtemp2", "mult", "utype", "cons"]


def named(name, index):
    return bytes([130, ARRAYS.index(name), index])  # name[index], index 0..99


def key(code):
    if isinstance(code, str):
        code = ord(code)
    return bytes([140, 224]) + struct.pack("<H", code)  # any code 0..65535


def tick(name):
    return bytes([180, ["Timer2", "Timer2", "Timer2", "Timer1", "Timer1", "Timer4", "Timer5", "Timer3",
                        "imprimir"].index(name)])


def clip_dict(i):
    return bytes([200, 0, i])


def clip_raw(data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    return bytes([200, 1, len(data)]) + data


def clip_long(n, shape):
    return bytes([200, 2]) + struct.pack("<H", n) + bytes([shape])


def clip_fail(on):
    return bytes([214, 1 if on else 0])


def mouse_down(button, x, y):
    return bytes([217, button]) + struct.pack("<hh", x, y)


def mouse_move(buttons, x, y):
    return bytes([223, buttons]) + struct.pack("<hh", x, y)


def cursor(x, y, ok=True):
    return bytes([231, 0 if ok else 1]) + struct.pack("<hh", x, y)


def resize():
    return bytes([236])


def restored():
    return bytes([238])


def switch_sep():
    return bytes([242])


def list_click(lst, item=None):
    return bytes([244, lst, 255 if item is None else item])  # listmemory(lst), row item or none


def wheel(lst, steps):
    return bytes([248, lst, steps & 0xFF])


def hover(slot):
    return bytes([240]) + struct.pack("<H", slot)


def clock(seconds):
    return bytes([250]) + struct.pack("<h", seconds // 3)


def odd(i):
    return bytes([252, i])


def printer(ok):
    return bytes([254, 0 if ok else 1])


PRINT_COPY = [("Label13", -1), ("Label14", -1), ("funpila", 0), ("funpila", 4), ("funpila", 3), ("funpila", 6)]


def print_copy(name, index=-1):
    return bytes([255, PRINT_COPY.index((name, index))])


PRINT, XLS = print_copy("Label13"), print_copy("Label14")


def digits(s):
    out = b""
    for c in s:
        out += num(int(c))
    return out


def number(s):
    """Types s with the digit keys, '.' for the decimal point key, 'E' for EEX, '-' for E(-)."""
    out = b""
    for c in s:
        if c.isdigit():
            out += num(int(c))
        elif c == ".":
            out += tecla(15)
        elif c == "E":
            out += tecla(8)
        elif c == "-":
            out += tecla(34)
    return out


ENTER = tecla(12)
PLUS, MINUS, TIMES, DIVIDE = tecla(0), tecla(1), tecla(2), tecla(3)
T2 = tick("Timer2")
SEEDS = {}


def seed(name, body, comma=False):
    SEEDS[name] = bytes([1 if comma else 0]) + body


for comma in (False, True):
    s = "comma" if comma else "point"
    seed(f"arith_{s}", number("12") + ENTER + number("3.5") + PLUS + T2 + number("4") + TIMES + T2
         + number("0") + DIVIDE + tecla(5) + T2, comma)
    seed(f"paste_inf_{s}", clip_dict(TEXTS.index("inf")) + tecla(48) + ENTER + tecla(48) + PLUS
         + tecla(48) + tecla(4) + num(5) + T2, comma)
    seed(f"paste_nan_exchange_{s}", clip_dict(TEXTS.index("nan")) + number("7") + ENTER + tecla(48)
         + named("orden", 5) + named("nivel2", 1) + named("orden", 3)
         + named("orden", 4) + tick("Timer1") + tecla(5) + T2, comma)
    seed(f"paste_big_{s}", clip_dict(TEXTS.index("1E999")) + tecla(48) + ENTER + tecla(48) + tecla(10)
         + clip_dict(TEXTS.index("1.7976931348623157E308")) + tecla(48) + ENTER + tecla(48) + PLUS + T2, comma)
    seed(f"memory_{s}", number("2.5") + tecla(49) + number("1") + tecla(50) + tecla(46) + tecla(54)
         + number("9") + tecla(55) + T2, comma)
    seed(f"keyboard_{s}", key("1") + key("2") + key(",") + key("5") + key(13) + key("3") + key("+")
         + key("s") + key("r") + key("#") + key("i") + key("%") + key("<") + key(">") + key(8) + T2, comma)
    seed(f"trig_{s}", number("30") + tecla(20) + number("1") + tecla(21) + tecla(22) + tecla(23)
         + tecla(24) + tecla(25) + T2, comma)
    seed(f"polar_{s}", number("2") + ENTER + number("30") + tecla(39) + tecla(40) + T2, comma)

seed("long_nines", clip_long(4000, 0) + tecla(48) + ENTER + tecla(48) + tecla(15) + T2)
seed("long_fraction", clip_long(3000, 1) + tecla(48) + ENTER + tecla(48) + TIMES + T2)
seed("long_exponent", clip_long(2000, 2) + tecla(48) + ENTER + T2, comma=True)
seed("long_digits_seps", clip_long(1000, 4) + tecla(48) + ENTER + T2)
seed("raw_nul", clip_raw(b"1\x002") + tecla(48) + ENTER + tecla(48) + tecla(7) + T2)
seed("raw_bytes", clip_raw(bytes(range(0, 256, 7))) + tecla(48) + tecla(47) + tecla(48) + T2)
seed("clipboard_failing", clip_fail(True) + number("5") + tecla(47) + tecla(48) + clip_fail(False)
     + tecla(47) + tecla(6) + tecla(48) + T2)
seed("powers", number("2") + ENTER + number("10") + tecla(28) + number("8") + tecla(34) + ENTER
     + number("3") + tecla(29) + number("0") + ENTER + number("0") + tecla(28) + T2)
seed("factorial_vcp", number("170") + tecla(38) + tecla(65) + number("171") + tecla(38) + tecla(65) + number("10") + ENTER
     + number("3") + named("vcp", 0) + number("5") + named("vcp", 1) + number("2") + named("vcp", 2) + T2)
seed("stack_sum_product", number("1") + ENTER + number("2") + ENTER + number("3") + tecla(33)
     + number("4") + ENTER + number("5") + tecla(35) + tecla(5) + T2)
seed("fix_int_dec", number("1234.5678") + tecla(51) + number("-1.5") + tecla(52) + number("3.14159")
     + tecla(53) + number("100") + tecla(41) + tecla(42) + tecla(43) + tecla(44) + tecla(63) + T2)
seed("exponent_entry", number("1") + tecla(8) + tecla(34) + number("5") + ENTER + tecla(8) + ENTER
     + tecla(34) + ENTER + tecla(16) + tecla(45) + tecla(64) + T2)
seed("hyperbolic", odd(0) + number("1") + tecla(20) + tecla(22) + tecla(24) + tecla(21) + tecla(23)
     + tecla(25) + tecla(19) + tecla(17) + tecla(18) + T2)
seed("timers", tick("Timer1") + tick("Timer1") + tick("Timer4") + tick("Timer5") + tick("Timer3")
     + T2 + number("1") + ENTER + tick("Timer1"))
seed("mouse", mouse_down(1, 300, 200) + cursor(100, 5) + mouse_move(1, 310, 210) + cursor(90, 3, ok=False)
     + mouse_move(1, 0, 0) + mouse_move(0, -32768, 32767) + resize() + restored())
seed("odd_controls", b"".join(odd(i) for i in range(0, 34)) + T2)
seed("clickables", b"".join(click(i) for i in range(0, 160, 3)) + T2)
seed("separator_switch", number("1.5") + ENTER + number("2.5") + tecla(49) + switch_sep() + number("3")
     + tecla(15) + number("5") + ENTER + PLUS + tecla(49) + T2)
seed("status_soft_keys", named("estado", 3) + named("estado", 3) + named("estado", 2) + named("estado", 11)
     + named("estado", 11) + named("estado", 4) + named("estado", 1) + named("orden", 0) + named("orden", 2)
     + named("orden", 1) + named("monitor", 4) + named("MANEJO", 0) + named("MANEJO", 2) + tick("Timer4")
     + named("Label10", 0) + T2)
seed("converter", number("2") + named("monitor", 1) + named("ctype", 2) + named("unidad", 5)
     + named("unidad", 0) + named("ctype", 4) + named("unidad", 44) + named("unidad", 44) + named("unidad", 55)
     + tecla(65) + named("unidad", 49) + named("orden", 6) + named("unidad", 49) + named("orden", 11)
     + number("1E308") + named("unidad", 0) + named("unidad", 1) + named("convtemp", 2) + named("convtemp2", 0)
     + tecla(8) + named("convtemp", 2) + named("convtemp2", 2) + named("convtemp2", 1) + T2)
seed("multipliers_constants", number("5") + named("mult", 5) + number("2E300") + named("mult", 0) + named("orden", 83)
     + tecla(5) + named("utype", 4) + named("cons", 29) + ENTER + named("cons", 34) + named("mult", 15)
     + switch_sep() + named("cons", 1) + ENTER + T2, comma=True)
seed("memory_list", number("1") + tecla(55) + number("2.5") + tecla(55) + number("3") + tecla(55)
     + named("monitor", 4) + list_click(1, 1) + list_click(0, 0) + list_click(1, 40) + named("orden", 27)
     + named("orden", 26) + named("orden", 26) + wheel(1, 5) + wheel(0, -100) + wheel(1, 127)
     + named("orden", 24) + named("orden", 28) + list_click(0) + named("orden", 25) + T2)

seed("bound", clip_long(0xFFF8, 0) + tecla(48) + num(1) + tecla(16) + tecla(4) + tecla(45) + ENTER
     + clip_long(0xFFFA, 1) + tecla(48) + key("5") + tecla(8) + T2)
seed("links_clock", named("Label10", 0) + named("Label10", 0) + clock(1) + named("Label10", 0) + clock(-3600)
     + named("Label10", 1) + tick("Timer1") + T2)

seed("print_copy", XLS + number("2") + ENTER + number("1.5") + ENTER + XLS + T2 + PRINT + tick("imprimir")
     + number("3") + tecla(51) + XLS + PRINT + printer(False) + PRINT + tick("Timer5") + printer(True) + PRINT
     + clip_fail(True) + XLS + clip_raw(b"\t\n\x00\xff") + tecla(48) + XLS + print_copy("funpila", 0)
     + print_copy("funpila", 4) + tick("imprimir") + T2 + PRINT)
seed("print_copy_full", b"".join(number(str(i)) + ENTER for i in range(1, 20)) + named("nivel2", 20)
     + named("orden", 4) + number("20") + ENTER + number("21") + XLS + T2 + PRINT, comma=True)
seed("undo_delete", number("9") + ENTER + number("8") + tecla(6) + tecla(5) + tecla(65) + tecla(65)
     + tecla(4) + tecla(4) + T2)


def session(rng, comma, events=190):
    """A long mixed session: mostly digits, keys and ENTER, with pastes and ticks."""
    out = b""
    for _ in range(events):
        r = rng.random()
        if r < 0.35:
            out += num(rng.randrange(10))
        elif r < 0.45:
            out += ENTER
        elif r < 0.75:
            out += tecla(rng.randrange(66))
        elif r < 0.82:
            out += T2 if rng.random() < 0.6 else tick("Timer1")
        elif r < 0.88:
            out += clip_dict(rng.randrange(len(TEXTS))) + tecla(48)
        elif r < 0.94:
            out += named(rng.choice(["orden", "nivel2", "estado"]), rng.choice([0, 1, 2, 3, 4, 5, 11]))
        else:
            out += key(rng.choice("0123456789,.E_#SRI%<>+-*/"))
    return bytes([1 if comma else 0]) + out


def main():
    rng = random.Random(1)
    SEEDS["long_session_point"] = session(rng, False)
    SEEDS["long_session_comma"] = session(rng, True)
    os.makedirs(OUT, exist_ok=True)
    for f in os.listdir(OUT):
        os.remove(os.path.join(OUT, f))
    for name, data in sorted(SEEDS.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(SEEDS)} seeds in {OUT}")


if __name__ == "__main__":
    main()
