"""The undo and redo texts of the operations, shown on the menu's undo and redo buttons.

A key that names both directions ("UNDO.AUTO_SET_ADDR", and "UNDO.MOD_CUE" for the metadata
changes) has a text that reads right in both.
"""

# The effect fields of the effect screen, as the operation that edits one names them after
# "UNDO.EFFECT." and "REDO.EFFECT.": (English noun, Dutch noun).
_EFFECT_FIELDS = {
    "DESCRIPTION": ("description", "omschrijving"),
    "ARTICLENUMBER": ("article number", "artikelnummer"),
    "DURATION": ("duration", "duur"),
    "CALIBER": ("calibre", "kaliber"),
    "PRICE": ("price", "prijs"),
    "MANUFACTURER": ("manufacturer", "fabrikant"),
    "PREFIRE": ("prefire time", "voorontstekingstijd"),
    "HEIGHT": ("height", "hoogte"),
    "COLOR": ("colour", "kleur"),
    "TYPE": ("effect type", "effectsoort"),
    "ANGLE": ("angle", "hoek"),
    "VANSHAPE": ("fan shape", "waaiervorm"),
    "CLASSIFICATION": ("classification", "classificatie"),
    "WEIGHT": ("net weight", "nettogewicht"),
    "DISTANCE": ("safety distance", "veiligheidsafstand"),
}

TEXTS = {
    "UNDO.NOTHING": ("Nothing to undo", "Niets om ongedaan te maken"),
    "REDO.NOTHING": ("Nothing to redo", "Niets om opnieuw te doen"),
    # Cue editing.
    "UNDO.ADD_CUE": ("Undo adding a cue", "Cue toevoegen ongedaan maken"),
    "REDO.ADD_CUE": ("Redo adding a cue", "Cue toevoegen opnieuw doen"),
    "UNDO.ADD_REMINDER": ("Undo adding a reminder", "Herinnering toevoegen ongedaan maken"),
    "REDO.ADD_REMINDER": ("Redo adding a reminder", "Herinnering toevoegen opnieuw doen"),
    "UNDO.DUPLICATE_CUE": ("Undo duplicating cues", "Cues dupliceren ongedaan maken"),
    "REDO.DUPLICATE_CUE": ("Redo duplicating cues", "Cues dupliceren opnieuw doen"),
    "UNDO.REMOVE_CUES": ("Undo deleting cues", "Cues verwijderen ongedaan maken"),
    "REDO.REMOVE_CUES": ("Redo deleting cues", "Cues verwijderen opnieuw doen"),
    "UNDO.RESET_CUE": ("Undo resetting cues", "Cues terugzetten ongedaan maken"),
    "REDO.RESET_CUE": ("Redo resetting cues", "Cues terugzetten opnieuw doen"),
    "UNDO.MOD_PFT": ("Undo prefire time change", "Wijziging voorontstekingstijd ongedaan maken"),
    "REDO.MOD_PFT": ("Redo prefire time change", "Wijziging voorontstekingstijd opnieuw doen"),
    "UNDO.MOD_GROUP": ("Undo group change", "Groepswijziging ongedaan maken"),
    "REDO.MOD_GROUP": ("Redo group change", "Groepswijziging opnieuw doen"),
    "UNDO.MOD_PYRO_ADDRESS": ("Undo pyro address change", "Wijziging pyro-adres ongedaan maken"),
    "REDO.MOD_PYRO_ADDRESS": ("Redo pyro address change", "Wijziging pyro-adres opnieuw doen"),
    "UNDO.MOD_DMX_UNIVERSE": ("Undo DMX universe change", "Wijziging DMX-universe ongedaan maken"),
    "REDO.MOD_DMX_UNIVERSE": ("Redo DMX universe change", "Wijziging DMX-universe opnieuw doen"),
    "UNDO.MOD_DMX_CHANNEL": ("Undo DMX channel change", "Wijziging DMX-kanaal ongedaan maken"),
    "REDO.MOD_DMX_CHANNEL": ("Redo DMX channel change", "Wijziging DMX-kanaal opnieuw doen"),
    "UNDO.MOD_DMX_VALUE": ("Undo DMX value change", "Wijziging DMX-waarde ongedaan maken"),
    "REDO.MOD_DMX_VALUE": ("Redo DMX value change", "Wijziging DMX-waarde opnieuw doen"),
    "UNDO.MOD_DURATION": ("Undo duration change", "Wijziging duur ongedaan maken"),
    "REDO.MOD_DURATION": ("Redo duration change", "Wijziging duur opnieuw doen"),
    "UNDO.MOD_CUE": ("Cue change", "Cuewijziging"),
    "REDO.MOD_CUE": ("Redo cue change", "Cuewijziging opnieuw doen"),
    "UNDO.MOD_QTY": ("Undo quantity change", "Wijziging aantal ongedaan maken"),
    "REDO.MOD_QTY": ("Redo quantity change", "Wijziging aantal opnieuw doen"),
    "UNDO.MOD_PYRO_TYPE": ("Undo pyro type change", "Wijziging pyrotype ongedaan maken"),
    "REDO.MOD_PYRO_TYPE": ("Redo pyro type change", "Wijziging pyrotype opnieuw doen"),
    "UNDO.MOD_DMX_CHASE_BPM": ("Undo chase speed change", "Wijziging chasesnelheid ongedaan maken"),
    "REDO.MOD_DMX_CHASE_BPM": ("Redo chase speed change", "Wijziging chasesnelheid opnieuw doen"),
    "UNDO.MOD_DMX_COMMAND": ("Undo DMX command change", "Wijziging DMX-opdracht ongedaan maken"),
    "REDO.MOD_DMX_COMMAND": ("Redo DMX command change", "Wijziging DMX-opdracht opnieuw doen"),
    "UNDO.MOD_DMX_CHASE_TYPE": ("Undo chase type change", "Wijziging chasesoort ongedaan maken"),
    "REDO.MOD_DMX_CHASE_TYPE": ("Redo chase type change", "Wijziging chasesoort opnieuw doen"),
    "UNDO.MOD_TIME": ("Undo timecode change", "Wijziging tijdcode ongedaan maken"),
    "REDO.MOD_TIME": ("Redo timecode change", "Wijziging tijdcode opnieuw doen"),
    "UNDO.AUTO_SET_ADDR": ("Automatic pyro addresses", "Automatische pyro-adressen"),
    "UNDO.MOD_REMINDER": ("Undo reminder change", "Wijziging herinnering ongedaan maken"),
    "REDO.MOD_REMINDER": ("Redo reminder change", "Wijziging herinnering opnieuw doen"),
    "UNDO.MOD_GROUPNAME": ("Undo group name change", "Wijziging groepsnaam ongedaan maken"),
    "REDO.MOD_GROUPNAME": ("Redo group name change", "Wijziging groepsnaam opnieuw doen"),
    "UNDO.MOD_OFFSET": ("Undo audio offset change", "Wijziging audioverschuiving ongedaan maken"),
    "REDO.MOD_OFFSET": ("Redo audio offset change", "Wijziging audioverschuiving opnieuw doen"),
    "UNDO.LINK_WAVE": ("Undo soundtrack change", "Wijziging soundtrack ongedaan maken"),
    "REDO.LINK_WAVE": ("Redo soundtrack change", "Wijziging soundtrack opnieuw doen"),
    "UNDO.APPLY_EFFECT": ("Undo applying an effect", "Effect toepassen ongedaan maken"),
    "REDO.APPLY_EFFECT": ("Redo applying an effect", "Effect toepassen opnieuw doen"),
    "UNDO.PATCH_FIXTURES": ("Undo patching fixtures", "Fixtures patchen ongedaan maken"),
    "REDO.PATCH_FIXTURES": ("Redo patching fixtures", "Fixtures patchen opnieuw doen"),
    # The library screens. Adding and deleting effects use "UNDO.ADD_CUE" and
    # "UNDO.REMOVE_CUES" above.
    "UNDO.EFFECT.NOTHING": ("Undo effect change", "Effectwijziging ongedaan maken"),
    "REDO.EFFECT.NOTHING": ("Redo effect change", "Effectwijziging opnieuw doen"),
    "UNDO.ADD_FIXTURE": ("Undo adding a fixture preset", "Fixturepreset toevoegen ongedaan maken"),
    "REDO.ADD_FIXTURE": ("Redo adding a fixture preset", "Fixturepreset toevoegen opnieuw doen"),
    "UNDO.REMOVE_FIXTURES": (
        "Undo deleting fixture presets",
        "Fixturepresets verwijderen ongedaan maken",
    ),
    "REDO.REMOVE_FIXTURES": ("Redo deleting fixture presets", "Fixturepresets verwijderen opnieuw doen"),
    "UNDO.MOD.FIXTURE_DESCRIPTION": (
        "Undo fixture description change",
        "Wijziging fixtureomschrijving ongedaan maken",
    ),
    "REDO.MOD.FIXTURE_DESCRIPTION": (
        "Redo fixture description change",
        "Wijziging fixtureomschrijving opnieuw doen",
    ),
    "UNDO.MOD.FIXTURE_PRODUCTNAME": ("Undo product name change", "Wijziging productnaam ongedaan maken"),
    "REDO.MOD.FIXTURE_PRODUCTNAME": ("Redo product name change", "Wijziging productnaam opnieuw doen"),
    "UNDO.MOD.FIXTURE_MANUFACTURER": ("Undo manufacturer change", "Wijziging fabrikant ongedaan maken"),
    "REDO.MOD.FIXTURE_MANUFACTURER": ("Redo manufacturer change", "Wijziging fabrikant opnieuw doen"),
    # Channel count, comments and duration of a fixture preset.
    "UNDO.MOD.FIXTURE": ("Undo fixture preset change", "Wijziging fixturepreset ongedaan maken"),
    "REDO.MOD.FIXTURE": ("Redo fixture preset change", "Wijziging fixturepreset opnieuw doen"),
    "UNDO.ADD_CHANNEL": ("Undo adding a channel", "Kanaal toevoegen ongedaan maken"),
    "REDO.ADD_CHANNEL": ("Redo adding a channel", "Kanaal toevoegen opnieuw doen"),
    "UNDO.REMOVE_CHANNELS": ("Undo deleting channels", "Kanalen verwijderen ongedaan maken"),
    "REDO.REMOVE_CHANNELS": ("Redo deleting channels", "Kanalen verwijderen opnieuw doen"),
    # Loading and storing the library files; these never enter the history.
    "UNDO.STORE_EFFECT": ("Undo library file", "Bibliotheekbestand ongedaan maken"),
    "REDO.STORE_EFFECT": ("Redo library file", "Bibliotheekbestand opnieuw doen"),
}

for _field, (_english, _dutch) in _EFFECT_FIELDS.items():
    TEXTS["UNDO.EFFECT." + _field] = (f"Undo {_english} change", f"Wijziging {_dutch} ongedaan maken")
    TEXTS["REDO.EFFECT." + _field] = (f"Redo {_english} change", f"Wijziging {_dutch} opnieuw doen")
