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
        # Undo and redo of the cue editing operations. The menu shows the text as it stands;
        # a key that names both directions ("UNDO.AUTO_SET_ADDR", and "UNDO.MOD_CUE" for the
        # metadata changes) has a text that reads right in both.
        "UNDO.ADD_CUE": "Undo adding a cue",
        "REDO.ADD_CUE": "Redo adding a cue",
        "UNDO.ADD_REMINDER": "Undo adding a reminder",
        "REDO.ADD_REMINDER": "Redo adding a reminder",
        "UNDO.DUPLICATE_CUE": "Undo duplicating cues",
        "REDO.DUPLICATE_CUE": "Redo duplicating cues",
        "UNDO.REMOVE_CUES": "Undo deleting cues",
        "REDO.REMOVE_CUES": "Redo deleting cues",
        "UNDO.RESET_CUE": "Undo resetting cues",
        "REDO.RESET_CUE": "Redo resetting cues",
        "UNDO.MOD_PFT": "Undo prefire time change",
        "REDO.MOD_PFT": "Redo prefire time change",
        "UNDO.MOD_GROUP": "Undo group change",
        "REDO.MOD_GROUP": "Redo group change",
        "UNDO.MOD_PYRO_ADDRESS": "Undo pyro address change",
        "REDO.MOD_PYRO_ADDRESS": "Redo pyro address change",
        "UNDO.MOD_DMX_UNIVERSE": "Undo DMX universe change",
        "REDO.MOD_DMX_UNIVERSE": "Redo DMX universe change",
        "UNDO.MOD_DMX_CHANNEL": "Undo DMX channel change",
        "REDO.MOD_DMX_CHANNEL": "Redo DMX channel change",
        "UNDO.MOD_DMX_VALUE": "Undo DMX value change",
        "REDO.MOD_DMX_VALUE": "Redo DMX value change",
        "UNDO.MOD_DURATION": "Undo duration change",
        "REDO.MOD_DURATION": "Redo duration change",
        "UNDO.MOD_CUE": "Cue change",
        "REDO.MOD_CUE": "Redo cue change",
        "UNDO.MOD_QTY": "Undo quantity change",
        "REDO.MOD_QTY": "Redo quantity change",
        "UNDO.MOD_PYRO_TYPE": "Undo pyro type change",
        "REDO.MOD_PYRO_TYPE": "Redo pyro type change",
        "UNDO.MOD_DMX_CHASE_BPM": "Undo chase speed change",
        "REDO.MOD_DMX_CHASE_BPM": "Redo chase speed change",
        "UNDO.MOD_DMX_COMMAND": "Undo DMX command change",
        "REDO.MOD_DMX_COMMAND": "Redo DMX command change",
        "UNDO.MOD_DMX_CHASE_TYPE": "Undo chase type change",
        "REDO.MOD_DMX_CHASE_TYPE": "Redo chase type change",
        "UNDO.MOD_TIME": "Undo timecode change",
        "REDO.MOD_TIME": "Redo timecode change",
        "UNDO.AUTO_SET_ADDR": "Automatic pyro addresses",
        "UNDO.MOD_REMINDER": "Undo reminder change",
        "REDO.MOD_REMINDER": "Redo reminder change",
        "UNDO.MOD_GROUPNAME": "Undo group name change",
        "REDO.MOD_GROUPNAME": "Redo group name change",
        "UNDO.MOD_OFFSET": "Undo audio offset change",
        "REDO.MOD_OFFSET": "Redo audio offset change",
        "UNDO.LINK_WAVE": "Undo soundtrack change",
        "REDO.LINK_WAVE": "Redo soundtrack change",
        "UNDO.APPLY_EFFECT": "Undo applying an effect",
        "REDO.APPLY_EFFECT": "Redo applying an effect",
        "UNDO.PATCH_FIXTURES": "Undo patching fixtures",
        "REDO.PATCH_FIXTURES": "Redo patching fixtures",
        "ERROR.FAILED_TO_OPEN_WAVE": "The sound file could not be opened.",
        "ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS": "The key cannot be renamed: a selected cue already has a key of that name.",
        "ERROR.NO_FREE_PYRO_ADDRESS": "No free firing module is left for the selected cues.",
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
        "UNDO.ADD_CUE": "Cue toevoegen ongedaan maken",
        "REDO.ADD_CUE": "Cue toevoegen opnieuw doen",
        "UNDO.ADD_REMINDER": "Herinnering toevoegen ongedaan maken",
        "REDO.ADD_REMINDER": "Herinnering toevoegen opnieuw doen",
        "UNDO.DUPLICATE_CUE": "Cues dupliceren ongedaan maken",
        "REDO.DUPLICATE_CUE": "Cues dupliceren opnieuw doen",
        "UNDO.REMOVE_CUES": "Cues verwijderen ongedaan maken",
        "REDO.REMOVE_CUES": "Cues verwijderen opnieuw doen",
        "UNDO.RESET_CUE": "Cues terugzetten ongedaan maken",
        "REDO.RESET_CUE": "Cues terugzetten opnieuw doen",
        "UNDO.MOD_PFT": "Wijziging voorontstekingstijd ongedaan maken",
        "REDO.MOD_PFT": "Wijziging voorontstekingstijd opnieuw doen",
        "UNDO.MOD_GROUP": "Groepswijziging ongedaan maken",
        "REDO.MOD_GROUP": "Groepswijziging opnieuw doen",
        "UNDO.MOD_PYRO_ADDRESS": "Wijziging pyro-adres ongedaan maken",
        "REDO.MOD_PYRO_ADDRESS": "Wijziging pyro-adres opnieuw doen",
        "UNDO.MOD_DMX_UNIVERSE": "Wijziging DMX-universe ongedaan maken",
        "REDO.MOD_DMX_UNIVERSE": "Wijziging DMX-universe opnieuw doen",
        "UNDO.MOD_DMX_CHANNEL": "Wijziging DMX-kanaal ongedaan maken",
        "REDO.MOD_DMX_CHANNEL": "Wijziging DMX-kanaal opnieuw doen",
        "UNDO.MOD_DMX_VALUE": "Wijziging DMX-waarde ongedaan maken",
        "REDO.MOD_DMX_VALUE": "Wijziging DMX-waarde opnieuw doen",
        "UNDO.MOD_DURATION": "Wijziging duur ongedaan maken",
        "REDO.MOD_DURATION": "Wijziging duur opnieuw doen",
        "UNDO.MOD_CUE": "Cuewijziging",
        "REDO.MOD_CUE": "Cuewijziging opnieuw doen",
        "UNDO.MOD_QTY": "Wijziging aantal ongedaan maken",
        "REDO.MOD_QTY": "Wijziging aantal opnieuw doen",
        "UNDO.MOD_PYRO_TYPE": "Wijziging pyrotype ongedaan maken",
        "REDO.MOD_PYRO_TYPE": "Wijziging pyrotype opnieuw doen",
        "UNDO.MOD_DMX_CHASE_BPM": "Wijziging chasesnelheid ongedaan maken",
        "REDO.MOD_DMX_CHASE_BPM": "Wijziging chasesnelheid opnieuw doen",
        "UNDO.MOD_DMX_COMMAND": "Wijziging DMX-opdracht ongedaan maken",
        "REDO.MOD_DMX_COMMAND": "Wijziging DMX-opdracht opnieuw doen",
        "UNDO.MOD_DMX_CHASE_TYPE": "Wijziging chasesoort ongedaan maken",
        "REDO.MOD_DMX_CHASE_TYPE": "Wijziging chasesoort opnieuw doen",
        "UNDO.MOD_TIME": "Wijziging tijdcode ongedaan maken",
        "REDO.MOD_TIME": "Wijziging tijdcode opnieuw doen",
        "UNDO.AUTO_SET_ADDR": "Automatische pyro-adressen",
        "UNDO.MOD_REMINDER": "Wijziging herinnering ongedaan maken",
        "REDO.MOD_REMINDER": "Wijziging herinnering opnieuw doen",
        "UNDO.MOD_GROUPNAME": "Wijziging groepsnaam ongedaan maken",
        "REDO.MOD_GROUPNAME": "Wijziging groepsnaam opnieuw doen",
        "UNDO.MOD_OFFSET": "Wijziging audioverschuiving ongedaan maken",
        "REDO.MOD_OFFSET": "Wijziging audioverschuiving opnieuw doen",
        "UNDO.LINK_WAVE": "Wijziging soundtrack ongedaan maken",
        "REDO.LINK_WAVE": "Wijziging soundtrack opnieuw doen",
        "UNDO.APPLY_EFFECT": "Effect toepassen ongedaan maken",
        "REDO.APPLY_EFFECT": "Effect toepassen opnieuw doen",
        "UNDO.PATCH_FIXTURES": "Fixtures patchen ongedaan maken",
        "REDO.PATCH_FIXTURES": "Fixtures patchen opnieuw doen",
        "ERROR.FAILED_TO_OPEN_WAVE": "Het geluidsbestand kon niet worden geopend.",
        "ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS": "De sleutel kan niet worden hernoemd: een geselecteerde cue heeft al een sleutel met die naam.",
        "ERROR.NO_FREE_PYRO_ADDRESS": "Er is geen vrije ontstekingsmodule meer over voor de geselecteerde cues.",
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
