"""The fixture preset screen: patching presets into DMX cues, and the channel panel."""

TEXTS = {
    # How the devices of a patch get their fixtures.
    "PRESET.SCREEN.PATCH.RADIOBUTTON.ALTERNATE": ("Alternate fixtures", "Fixtures afwisselen"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.ODD": ("Odd devices", "Oneven apparaten"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.EVEN": ("Even devices", "Even apparaten"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFT": ("Left half", "Linkerhelft"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.RIGHT": ("Right half", "Rechterhelft"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFTRIGHT": ("Left and right half", "Linker- en rechterhelft"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.MANUALENTRY": ("Manual entry", "Handmatige invoer"),
    "PRESET.SCREEN.PATCH.RADIOBUTTON.SAME": ("Every device", "Elk apparaat"),
    # Where the patched values go in the cue.
    "PRESET.SCREEN.LOCATION.RADIOBUTTON.RESET": ("Replace the steps", "Stappen vervangen"),
    "PRESET.SCREEN.LOCATION.RADIOBUTTON.SCENE": ("Add to the scene", "Aan de scène toevoegen"),
    "PRESET.SCREEN.LOCATION.RADIOBUTTON.CHASE": ("Add as a chase step", "Als chase-stap toevoegen"),
    "PRESET.SCREEN.LOCATION.RADIOBUTTON.OWN.SCENE": ("A scene per fixture", "Een scène per fixture"),
    # A preset channel's value: fixed, or taken from the cue.
    "PRESET.SIDEBAR.CREATECHANNELPANEL.BUTTON.DYNAMIC": ("Dynamic", "Dynamisch"),
    "PRESET.SIDEBAR.CREATECHANNELPANEL.BUTTON.STATIC": ("Static", "Statisch"),
}
