#!/usr/bin/env python3
"""Writes the language files locale/<language>.ini and the defaults file defaults.ini.

The program reads and writes these files as UTF-16LE with a byte-order mark, which neither
diffs nor edits well, so the texts live in the modules of locale/texts/, one per area of the
program, each key with its English and its Dutch text side by side. Change the texts there
and run this script again; it refuses texts the program could not use. With --check it
writes nothing and fails when the files differ from what it would write.
"""

import importlib
import pkgutil
import re
import sys

sys.dont_write_bytecode = True  # keep locale/texts/ free of caches
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
LOCALE = ROOT / "locale"

# The languages in the order of the text pairs in locale/texts/.
LANGUAGES = [("en-us", "English (United States)"), ("nl-nl", "Nederlands (Nederland)")]

# A localization key: upper-case words joined by dots.
KEY = re.compile(r"[A-Z][A-Z0-9_]*(\.[A-Z0-9_]+)+")

# A printf conversion as the program formats texts with: flags, width, precision, length,
# conversion. Every "%" in a text must start one; a literal percent sign ("%%") is not
# allowed, since callers count the "%" of a text to decide whether to format it at all.
CONVERSION = re.compile(r"%[-+ #0]*[0-9]*(?:\.[0-9]+)?(?:hh|h|ll|l|L|w|z|j|t)?([diouxXcsSfFeEgGaA])")
ARGUMENT_KINDS = {**dict.fromkeys("diouxXc", "int"), **dict.fromkeys("sS", "text"),
                  **dict.fromkeys("fFeEgGaA", "real")}

# Texts joined into one line with "," by the CSV export, unquoted.
CSV_HEADER_PREFIX = "REPORTS.CSV.HEADER."

# Windows virtual-key codes, as the key maps store them, plus these modifier bits.
SHIFT, CTRL, ALT = 0x10000000, 0x20000000, 0x40000000
VK = {"SPACE": 0x20, "ESCAPE": 0x1B, "LEFT": 0x25, "UP": 0x26, "RIGHT": 0x27, "DOWN": 0x28,
      "INSERT": 0x2D, "DELETE": 0x2E, "PAGEUP": 0x21, "PAGEDOWN": 0x22, "ADD": 0x6B,
      "SUBTRACT": 0x6D, "F1": 0x70, "F5": 0x74, "F6": 0x75, "F7": 0x76, "F8": 0x77, "F9": 0x78,
      "F12": 0x7B, **{chr(c): c for c in range(0x30, 0x3A)},
      **{chr(c): c for c in range(0x41, 0x5B)}}

# The shipped key bindings: (modifiers, key, command code). "keys" work wherever the focus
# is, also in edit fields, so they all need Control or a function key; "cuekeys" and
# "speedkeys" work when the focus is on the main window, the header or the cue list.
KEY_BINDINGS = {
    "keys": [
        (CTRL, "N", 0),  # new show
        (CTRL, "O", 1),  # open
        (CTRL, "I", 2),  # import a foreign show
        (CTRL, "S", 3),  # save
        (CTRL | SHIFT, "S", 4),  # save as
        (CTRL, "Z", 22),  # undo
        (CTRL, "Y", 23),  # redo
        (CTRL | SHIFT, "Z", 23),  # redo
        (CTRL, "Q", 8),  # quit
        (0, "F1", 20),  # manual
        (0, "F5", 28),  # play
        (0, "F6", 30),  # pause
        (0, "F7", 31),  # stop
        (0, "F8", 29),  # record
        (0, "F9", 5),  # show mode: the show wizard, or leave show mode (after a question)
        (SHIFT, "F9", 6),  # check the cues
        (0, "F12", 58),  # disarm, wherever the focus is
        (CTRL, "ADD", 67),  # zoom in
        (CTRL, "SUBTRACT", 68),  # zoom out
        (CTRL, "0", 69),  # zoom to fit
    ],
    "cuekeys": [
        (0, "SPACE", 32),  # play or pause
        (0, "ESCAPE", 31),  # stop
        (0, "R", 33),  # record on or off
        (0, "P", 26),  # while recording: a pyro cue now
        (0, "D", 27),  # while recording: a DMX cue for as long as the key is held
        (0, "INSERT", 46),  # a pyro cue at the play position
        (SHIFT, "INSERT", 89),  # a reminder at the play position
        (0, "DELETE", 25),  # delete the selected cues
        (CTRL, "D", 45),  # duplicate
        (CTRL, "A", 34),  # select all, or none
        (0, "DOWN", 71),  # select the next cue
        (SHIFT, "DOWN", 72),  # extend to the next cue
        (0, "UP", 75),  # select the previous cue
        (SHIFT, "UP", 76),  # extend to the previous cue
        (0, "RIGHT", 37),  # selected cues one frame later
        (0, "LEFT", 40),  # one frame earlier
        (SHIFT, "RIGHT", 39),  # one second later
        (SHIFT, "LEFT", 42),  # one second earlier
        (CTRL, "RIGHT", 80),  # one minute later
        (CTRL, "LEFT", 82),  # one minute earlier
        (0, "PAGEDOWN", 61),  # play position 1 s on
        (0, "PAGEUP", 64),  # play position 1 s back
        (SHIFT, "PAGEDOWN", 62),  # 10 s on
        (SHIFT, "PAGEUP", 65),  # 10 s back
    ],
    # Playback at 1/n speed while playing or recording: the digits 1 to 9.
    "speedkeys": [(0, str(n), 200 + n) for n in range(1, 10)],
}

DEFAULTS_HEADER = [
    "; Skyfirewright's shipped settings. The program reads this file only when the user has",
    "; no config.ini yet, and then writes what it read to config.ini in the user's folder.",
    "; Written by locale/make_locale_files.py: change the settings there.",
    "; locale: the language file locale/<locale>.ini of the user interface.",
    "; audio.device: the sound output, \"default\" for the system's own.",
    "; controller.ports: serial ports to try for the firing controller besides the USB",
    "; devices found, separated by \";\" (the device simulator's pseudo-terminal, say).",
    "; controller.lookaheadMs: how far ahead of the controller's own or incoming timecode the",
    "; show's words are sent to it, in milliseconds (0: as far as its queue takes). What the",
    "; controller holds can still fire after the program or the link is lost; on a slow link a",
    "; short look-ahead can make dense passages late.",
    "; keys., cuekeys., speedkeys.: key code (the virtual key plus 10000000 for Shift,",
    "; 20000000 for Control, 40000000 for Alt, in hexadecimal) = command code.",
]
DEFAULT_VALUES = [
    ("", [("locale", "en-us")]),
    ("audio", [("device", "default")]),
    ("controller", [("ports", ""), ("lookaheadMs", "3000")]),
]


def load_texts() -> dict[str, tuple[str, ...]]:
    """Every key of every module of locale/texts/, refusing a key defined twice."""
    sys.path.insert(0, str(LOCALE))
    texts: dict[str, tuple[str, ...]] = {}
    owner: dict[str, str] = {}
    package = importlib.import_module("texts")
    for info in sorted(pkgutil.iter_modules(package.__path__), key=lambda i: i.name):
        module = importlib.import_module(f"texts.{info.name}")
        for key, pair in module.TEXTS.items():
            if key in texts:
                raise SystemExit(f"{key}: in texts/{owner[key]}.py and texts/{info.name}.py")
            texts[key] = pair
            owner[key] = info.name
    return texts


def argument_kinds(text: str) -> list[str] | None:
    """The kinds of the arguments the text formats, or None when a "%" starts no conversion."""
    kinds = [ARGUMENT_KINDS[m.group(1)] for m in CONVERSION.finditer(text)]
    return kinds if len(kinds) == text.count("%") else None


def check(texts: dict[str, tuple[str, ...]]) -> None:
    problems = []
    for key, pair in texts.items():
        if not KEY.fullmatch(key):
            problems.append(f"{key}: not an upper-case dotted key")
        if len(pair) != len(LANGUAGES):
            problems.append(f"{key}: needs one text per language, {len(LANGUAGES)} in all")
            continue
        kinds = [argument_kinds(text) for text in pair]
        for (language, _), text, kind in zip(LANGUAGES, pair, kinds):
            if not text.strip():
                problems.append(f"{language}: {key} is empty")
            if any(c in text for c in "\r\n\0") or text != text.strip():
                problems.append(f"{language}: {key} has a line break or outer blanks")
            if kind is None:
                problems.append(f"{language}: {key} has a % that starts no conversion")
            if key.startswith(CSV_HEADER_PREFIX) and ("," in text or '"' in text):
                problems.append(f"{language}: {key} is a CSV header and holds , or \"")
        if kinds[0] is not None and any(k is not None and k != kinds[0] for k in kinds):
            problems.append(f"{key}: the languages format other arguments: {kinds}")
    if problems:
        raise SystemExit("\n".join(problems))


def key_file_bytes(lines: list[str]) -> bytes:
    return b"\xff\xfe" + "".join(line + "\n" for line in lines).encode("utf-16-le")


def defaults_lines() -> list[str]:
    lines = list(DEFAULTS_HEADER)
    for section, entries in DEFAULT_VALUES:
        if section:
            lines.append(f"[{section}]")
        lines += [f"{name}={value}" for name, value in entries]
    for section, bindings in KEY_BINDINGS.items():
        codes = {}
        for modifiers, key, command in bindings:
            code = f"{modifiers | VK[key]:08X}"
            if code in codes:
                raise SystemExit(f"{section}.{code} is bound twice")
            codes[code] = command
        lines.append(f"[{section}]")
        lines += [f"{code}={command}" for code, command in sorted(codes.items())]
    return lines


def main() -> None:
    """Writes the files; with --check only tells which of them differ from what it would write."""
    texts = load_texts()
    check(texts)
    files = {}
    for index, (language, name) in enumerate(LANGUAGES):
        header = [
            f"; Skyfirewright texts: {name}.",
            "; Written by locale/make_locale_files.py from locale/texts/: change the texts there.",
        ]
        lines = header + [f"{key}={texts[key][index]}" for key in sorted(texts)]
        files[LOCALE / f"{language}.ini"] = key_file_bytes(lines)
    files[ROOT / "defaults.ini"] = key_file_bytes(defaults_lines())
    if sys.argv[1:] == ["--check"]:
        stale = [str(path.relative_to(ROOT)) for path, data in files.items()
                 if not path.is_file() or path.read_bytes() != data]
        if stale:
            raise SystemExit("not written from locale/texts/: " + ", ".join(stale))
        return
    for path, data in files.items():
        path.write_bytes(data)


if __name__ == "__main__":
    main()
