#!/usr/bin/env python3
"""Writes the language files locale/<language>.ini and the defaults file defaults.ini.

The program reads and writes these files as UTF-16LE with a byte-order mark, which neither
diffs nor edits well, so the texts live here: change them in this script and run it again.
"""

from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

TEXTS = {
    "en-us": {
        "WINDOW.TITLE": "Skyfirewright",
        "WINDOW.ERROR": "Error",
        "WINDOW.SAVE_CHANGES": "Do you want to save the changes to the current show?",
        "ERROR.GENERIC": "The action could not be completed.",
        "UNDO.NOTHING": "Nothing to undo",
        "REDO.NOTHING": "Nothing to redo",
        "CUESTATE.DISABLED": "Disabled",
        "CUESTATE.QUEUED": "Queued",
        "CUESTATE.NEXT": "Next",
        "CUESTATE.PREFIRE": "Prefire",
        "CUESTATE.ACTIVE": "Active",
        "CUESTATE.DONE": "Done",
        "CUESTATE.SKIPPED": "Skipped",
        "CUESTATE.NEG_TRIGGER": "Fires before 00:00:00:00",
        "CUESTATE.DUPLICATE": "Duplicate address",
        "CUESTATE.BUSY": "Address busy",
        "CUESTATE.COMMFAIL": "Module does not answer",
        "CUESTATE.NOCONTINUITY": "No continuity",
        "CUESTATE.CONTINUITY": "Continuity",
        "CUESTATE.NOTCHECKED": "Not checked",
        # "%d" marks: the pyro address; DMX channel and level; channel count; steps and
        # steps per minute. Another number of "%" shows the text as it is.
        "CUECOMMAND.PYRO": "Pyro %d",
        "CUECOMMAND.PYRO.UNDEF": "Pyro (no address)",
        "CUECOMMAND.DMX512": "DMX channel %d at %d",
        "CUECOMMAND.DMX512.SCENE": "DMX scene of %d channels",
        "CUECOMMAND.DMX512.CHASE": "DMX chase of %d steps at %d steps/min",
        "CUECOMMAND.DMX512.UNDEF": "DMX (no channels)",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.ALTERNATE": "Alternate fixtures",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.ODD": "Odd devices",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.EVEN": "Even devices",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFT": "Left half",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.RIGHT": "Right half",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFTRIGHT": "Left and right half",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.MANUALENTRY": "Manual entry",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.SAME": "Every device",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.RESET": "Replace the steps",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.SCENE": "Add to the scene",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.CHASE": "Add as a chase step",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.OWN.SCENE": "A scene per fixture",
        "ERROR.PATCH_NO_FIXTURE": "Select at least one fixture to patch.",
        "ERROR.PATCH_START_ADDRESS": "The start address must be a DMX channel from 1 to 512.",
        "ERROR.PATCH_DEVICE_NUMBER": "Device numbers start at 1.",
        "ERROR.PATCH_CHANNEL_RANGE": "The devices do not fit: a channel would lie beyond DMX channel 512.",
        "ERROR.PATCH_MODE": "This patch mode does not fit the number of devices and fixtures.",
    },
    "nl-nl": {
        "WINDOW.TITLE": "Skyfirewright",
        "WINDOW.ERROR": "Fout",
        "WINDOW.SAVE_CHANGES": "Wilt u de wijzigingen in de huidige show opslaan?",
        "ERROR.GENERIC": "De actie kon niet worden voltooid.",
        "UNDO.NOTHING": "Niets om ongedaan te maken",
        "REDO.NOTHING": "Niets om opnieuw te doen",
        "CUESTATE.DISABLED": "Uitgeschakeld",
        "CUESTATE.QUEUED": "In de wachtrij",
        "CUESTATE.NEXT": "Volgende",
        "CUESTATE.PREFIRE": "Voorontsteking",
        "CUESTATE.ACTIVE": "Actief",
        "CUESTATE.DONE": "Klaar",
        "CUESTATE.SKIPPED": "Overgeslagen",
        "CUESTATE.NEG_TRIGGER": "Vuurt voor 00:00:00:00",
        "CUESTATE.DUPLICATE": "Dubbel adres",
        "CUESTATE.BUSY": "Adres bezet",
        "CUESTATE.COMMFAIL": "Module antwoordt niet",
        "CUESTATE.NOCONTINUITY": "Geen continuïteit",
        "CUESTATE.CONTINUITY": "Continuïteit",
        "CUESTATE.NOTCHECKED": "Niet getest",
        "CUECOMMAND.PYRO": "Pyro %d",
        "CUECOMMAND.PYRO.UNDEF": "Pyro (geen adres)",
        "CUECOMMAND.DMX512": "DMX-kanaal %d op %d",
        "CUECOMMAND.DMX512.SCENE": "DMX-scène met %d kanalen",
        "CUECOMMAND.DMX512.CHASE": "DMX-chase met %d stappen, %d stappen/min",
        "CUECOMMAND.DMX512.UNDEF": "DMX (geen kanalen)",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.ALTERNATE": "Fixtures afwisselen",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.ODD": "Oneven apparaten",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.EVEN": "Even apparaten",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFT": "Linkerhelft",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.RIGHT": "Rechterhelft",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFTRIGHT": "Linker- en rechterhelft",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.MANUALENTRY": "Handmatige invoer",
        "PRESET.SCREEN.PATCH.RADIOBUTTON.SAME": "Elk apparaat",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.RESET": "Stappen vervangen",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.SCENE": "Aan de scène toevoegen",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.CHASE": "Als chase-stap toevoegen",
        "PRESET.SCREEN.LOCATION.RADIOBUTTON.OWN.SCENE": "Een scène per fixture",
        "ERROR.PATCH_NO_FIXTURE": "Selecteer ten minste één fixture om te patchen.",
        "ERROR.PATCH_START_ADDRESS": "Het startadres moet een DMX-kanaal van 1 tot en met 512 zijn.",
        "ERROR.PATCH_DEVICE_NUMBER": "Apparaatnummers beginnen bij 1.",
        "ERROR.PATCH_CHANNEL_RANGE": "De apparaten passen niet: een kanaal zou voorbij DMX-kanaal 512 vallen.",
        "ERROR.PATCH_MODE": "Deze patchmodus past niet bij het aantal apparaten en fixtures.",
    },
}

LANGUAGE_NAMES = {"en-us": "English (United States)", "nl-nl": "Nederlands (Nederland)"}

DEFAULTS = [
    "; Skyfirewright's shipped settings. The program reads this file only when the user has",
    "; no config.ini yet, and then writes what it read to config.ini in the user's folder.",
    "; locale: the language file locale/<locale>.ini of the user interface.",
    "; The key bindings (keys., cuekeys. and speedkeys.) come with the main window.",
    "locale=en-us",
]


def write_key_file(path: Path, lines: list[str]) -> None:
    text = "".join(line + "\n" for line in lines)
    path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))


def main() -> None:
    keys = set(TEXTS["en-us"])
    for language, texts in TEXTS.items():
        if set(texts) != keys:
            raise SystemExit(f"{language}: keys differ from en-us: {set(texts) ^ keys}")
        for key, text in texts.items():
            if "\n" in text or "\r" in text or "=" in key:
                raise SystemExit(f"{language}: {key} cannot be stored in a key file")
            if text.count("%") != TEXTS["en-us"][key].count("%"):
                raise SystemExit(f"{language}: {key} has another number of % marks than en-us")
        header = [
            f"; Skyfirewright texts: {LANGUAGE_NAMES[language]}.",
            "; Written by locale/make_locale_files.py: change the texts there.",
        ]
        lines = header + [f"{key}={texts[key]}" for key in sorted(texts)]
        write_key_file(ROOT / "locale" / f"{language}.ini", lines)
    write_key_file(ROOT / "defaults.ini", DEFAULTS)


if __name__ == "__main__":
    main()
