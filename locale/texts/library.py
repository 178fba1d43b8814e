"""The library screens: the effect catalogue, its CSV exchange, and the fixture presets."""

# Column heads of the effect table, with the unit of the numbers below them.
_EFFECT_COLUMNS = {
    "DESCRIPTION": ("Description", "Omschrijving"),
    "ARTICLENUMBER": ("Article no.", "Artikelnr."),
    "DURATION": ("Duration (s)", "Duur (s)"),
    "CALIBER": ("Calibre (mm)", "Kaliber (mm)"),
    "PRICE": ("Price", "Prijs"),
    "MANUFACTURER": ("Manufacturer", "Fabrikant"),
    "PREFIRE": ("Prefire (ms)", "Voorontsteking (ms)"),
    "HEIGHT": ("Height (m)", "Hoogte (m)"),
    "COLOR": ("Colour", "Kleur"),
    "TYPE": ("Type", "Soort"),
    "ANGLE": ("Angle", "Hoek"),
    "VANSHAPE": ("Fan shape", "Waaiervorm"),
    "CLASSIFICATION": ("Classification", "Classificatie"),
    "WEIGHT": ("Net weight (g)", "Nettogewicht (g)"),
    "DISTANCE": ("Safety distance (m)", "Veiligheidsafstand (m)"),
}

TEXTS = {
    "EFFECTS.TITLE.EDIT": ("Effect library", "Effectbibliotheek"),
    "EFFECTS.TITLE.PICK": ("Choose an effect", "Effect kiezen"),
    "EFFECTS.HEADING.EDIT": (
        "Your effect catalogue. Double-click a cell to change it; type in the fields above the"
        " columns to search (\"<\" and \">\" for numbers).",
        "Uw effectcatalogus. Dubbelklik op een cel om die te wijzigen; typ in de velden boven de"
        " kolommen om te zoeken (\"<\" en \">\" voor getallen).",
    ),
    "EFFECTS.HEADING.PICK": (
        "Choose the effect for the selected cues and press Apply (or double-click it).",
        "Kies het effect voor de geselecteerde cues en druk op Toepassen (of dubbelklik erop).",
    ),
    "EFFECTS.BUTTON.ADD": ("Add effect", "Effect toevoegen"),
    "EFFECTS.BUTTON.DELETE": ("Delete", "Verwijderen"),
    "EFFECTS.BUTTON.LOAD": ("Load library file…", "Bibliotheekbestand laden…"),
    "EFFECTS.BUTTON.STORE": ("Save library file…", "Bibliotheekbestand opslaan…"),
    "EFFECTS.BUTTON.IMPORT_FOREIGN": ("Import effect database…", "Effectdatabase importeren…"),
    "EFFECTS.BUTTON.IMPORT_CSV": ("Import CSV…", "CSV importeren…"),
    "EFFECTS.BUTTON.EXPORT_CSV": ("Export CSV…", "CSV exporteren…"),
    "EFFECTS.BUTTON.APPLY": ("Apply", "Toepassen"),
    "EFFECTS.BUTTON.CLOSE": ("Close", "Sluiten"),
    "EFFECTS.SEARCH.TEXT_HINT": ("Search", "Zoeken"),
    "EFFECTS.SEARCH.NUMBER_HINT": ("=, < or >", "=, < of >"),
    "EFFECTS.SEARCH.TOOLTIP": (
        "Shows the effects that contain this text; for numbers type 10, <10 or >10.",
        "Toont de effecten die deze tekst bevatten; typ voor getallen 10, <10 of >10.",
    ),
    "EFFECTS.STATUS.EFFECTS": ("effects", "effecten"),
    "EFFECTS.STATUS.SHOWN": ("shown", "getoond"),
    "EFFECTS.STATUS.SELECTED": ("selected", "geselecteerd"),
    "EFFECTS.NEW_EFFECT": ("New effect", "Nieuw effect"),
    "EFFECTS.EDIT.WHOLE_NUMBER": (
        "Please type a whole number of 0 or more, without a unit.",
        "Typ een geheel getal van 0 of meer, zonder eenheid.",
    ),
    "EFFECTS.EDIT.PRICE": (
        "Please type a price of 0 or more, such as 12.50 or 12,50, without a currency sign.",
        "Typ een prijs van 0 of meer, zoals 12.50 of 12,50, zonder valutateken.",
    ),
    "EFFECTS.EDIT.DUPLICATE": (
        "The library already holds an effect with exactly this article data. Change another"
        " field first, or delete one of the two.",
        "De bibliotheek bevat al een effect met precies deze artikelgegevens. Wijzig eerst een"
        " ander veld, of verwijder een van beide.",
    ),
    "EFFECTS.PICK.NO_EFFECT": ("Please choose an effect first.", "Kies eerst een effect."),
    "EFFECTS.PICK.NO_CUES": (
        "No cue is selected. Select the cues the effect is for in the cue list first.",
        "Er is geen cue geselecteerd. Selecteer eerst in de cuelijst de cues voor dit effect.",
    ),
    "EFFECTS.PICK.PREFIRE_REFUSED": (
        "Some cues kept their prefire time: the effect's would make them fire before the start"
        " of the show.",
        "Sommige cues hebben hun voorontstekingstijd behouden: die van het effect zou ze voor"
        " het begin van de show laten afgaan.",
    ),
    "EFFECTS.CSV.ERROR.READ": ("The CSV file cannot be read.", "Het CSV-bestand kan niet worden gelezen."),
    "EFFECTS.CSV.ERROR.TOO_LARGE": (
        "The CSV file is too large to be an effect list.",
        "Het CSV-bestand is te groot voor een effectlijst.",
    ),
    "EFFECTS.CSV.ERROR.NOT_UTF8": (
        "The CSV file is not UTF-8 text. Save it as \"CSV UTF-8\" and import it again.",
        "Het CSV-bestand is geen UTF-8-tekst. Sla het op als \"CSV UTF-8\" en importeer het opnieuw.",
    ),
    "EFFECTS.CSV.ERROR.NO_HEADER": (
        "The CSV file has no header row naming effect fields (description, articleNumber,"
        " price ...). Nothing was imported.",
        "Het CSV-bestand heeft geen kopregel met effectvelden (description, articleNumber,"
        " price ...). Er is niets geïmporteerd.",
    ),
    "EFFECTS.CSV.ERROR.OPEN_QUOTE": (
        "A quoted field of the CSV file is never closed. Nothing was imported.",
        "Een veld tussen aanhalingstekens in het CSV-bestand wordt nooit gesloten. Er is niets"
        " geïmporteerd.",
    ),
    "EFFECTS.CSV.ROW.FIELD_COUNT": (
        "the row has a different number of fields than the header",
        "de regel heeft een ander aantal velden dan de kopregel",
    ),
    "EFFECTS.CSV.ROW.NOT_A_WHOLE_NUMBER": ("not a whole number of 0 or more", "geen geheel getal van 0 of meer"),
    "EFFECTS.CSV.ROW.NOT_A_PRICE": ("not a price", "geen prijs"),
    "EFFECTS.CSV.ROW.CONTROL_CHARACTER": ("holds a zero character", "bevat een nulteken"),
    "EFFECTS.CSV.REPORT.TITLE": ("CSV import", "CSV-import"),
    "EFFECTS.CSV.REPORT.ADDED": ("Effects added:", "Effecten toegevoegd:"),
    "EFFECTS.CSV.REPORT.DUPLICATES": (
        "Rows skipped as already in the library:",
        "Regels overgeslagen omdat ze al in de bibliotheek staan:",
    ),
    "EFFECTS.CSV.REPORT.REFUSED": ("Rows refused:", "Regels geweigerd:"),
    "EFFECTS.CSV.REPORT.LINE": ("line", "regel"),
    "UNDO.IMPORT_EFFECT_CSV": ("Undo CSV import", "CSV-import ongedaan maken"),
    "REDO.IMPORT_EFFECT_CSV": ("Redo CSV import", "CSV-import opnieuw doen"),
    "FIXTURES.TITLE.EDIT": ("Fixture presets", "Fixturepresets"),
    "FIXTURES.TITLE.PATCH": ("Patch fixtures", "Fixtures patchen"),
    "FIXTURES.HEADING.EDIT": (
        "Your fixture presets. Select one preset to see and change its channel values.",
        "Uw fixturepresets. Selecteer één preset om de kanaalwaarden te zien en te wijzigen.",
    ),
    "FIXTURES.HEADING.PATCH": (
        "Select the presets to patch (the first selected comes first), fill in the start address"
        " form and press Patch: the devices go into the selected cues.",
        "Selecteer de presets om te patchen (de eerst geselecteerde komt eerst), vul het"
        " startadres in en druk op Patchen: de apparaten komen in de geselecteerde cues.",
    ),
    "FIXTURES.BUTTON.ADD": ("Add preset", "Preset toevoegen"),
    "FIXTURES.BUTTON.DELETE": ("Delete presets", "Presets verwijderen"),
    "FIXTURES.BUTTON.ADD_CHANNEL": ("Add channel", "Kanaal toevoegen"),
    "FIXTURES.BUTTON.DELETE_CHANNELS": ("Delete channels", "Kanalen verwijderen"),
    "FIXTURES.BUTTON.LOAD": ("Load preset file…", "Presetbestand laden…"),
    "FIXTURES.BUTTON.EXPORT": ("Export presets…", "Presets exporteren…"),
    "FIXTURES.BUTTON.CLOSE": ("Close", "Sluiten"),
    "FIXTURES.COLUMN.DESCRIPTION": ("Description", "Omschrijving"),
    "FIXTURES.COLUMN.MANUFACTURER": ("Manufacturer", "Fabrikant"),
    "FIXTURES.COLUMN.PRODUCTNAME": ("Product", "Product"),
    "FIXTURES.COLUMN.CHANNELS": ("Channels", "Kanalen"),
    "FIXTURES.COLUMN.DURATION": ("Duration (ms)", "Duur (ms)"),
    "FIXTURES.COLUMN.COMMENTS": ("Comments", "Opmerkingen"),
    "FIXTURES.SEARCH.DESCRIPTION": ("Description", "Omschrijving"),
    "FIXTURES.SEARCH.MANUFACTURER": ("Manufacturer", "Fabrikant"),
    "FIXTURES.SEARCH.PRODUCTNAME": ("Product", "Product"),
    "FIXTURES.SEARCH.COMMENTS": ("Comments", "Opmerkingen"),
    "FIXTURES.SEARCH.DURATION": ("Duration =, < or >", "Duur =, < of >"),
    "FIXTURES.STATUS.FIXTURES": ("presets", "presets"),
    "FIXTURES.STATUS.SHOWN": ("shown", "getoond"),
    "FIXTURES.STATUS.SELECTED": ("selected", "geselecteerd"),
    "FIXTURES.NEW_FIXTURE": ("New preset", "Nieuwe preset"),
    "FIXTURES.EDIT.CHANNEL_COUNT": (
        "A device occupies 1 to 512 channels.",
        "Een apparaat beslaat 1 tot 512 kanalen.",
    ),
    "FIXTURES.EDIT.DURATION": (
        "Please type the duration in milliseconds, a whole number of 0 or more.",
        "Typ de duur in milliseconden, een geheel getal van 0 of meer.",
    ),
    "FIXTURES.EDIT.CHANNEL": (
        "The channel counts from 1 up to the preset's number of channels.",
        "Het kanaal telt van 1 tot het aantal kanalen van de preset.",
    ),
    "FIXTURES.EDIT.VALUE": ("A level is a whole number from 0 to 255.", "Een niveau is een geheel getal van 0 tot 255."),
    "FIXTURES.CHANNEL.COLUMN.CHANNEL": ("Channel", "Kanaal"),
    "FIXTURES.CHANNEL.COLUMN.VALUE": ("Level", "Niveau"),
    "FIXTURES.CHANNEL.COLUMN.DYNAMIC": ("Dynamic", "Dynamisch"),
    "FIXTURES.CHANNEL.COLUMN.SAFETY": ("Safety", "Veiligheid"),
    "FIXTURES.CHANNEL.COLUMN.SLOWSAFETY": ("Slow safety", "Trage veiligheid"),
    "FIXTURES.CHANNEL.NONE": (
        "Select one preset to see its channels.",
        "Selecteer één preset om de kanalen te zien.",
    ),
    "FIXTURES.CHANNEL.OF": ("Channels of", "Kanalen van"),
    "FIXTURES.CHANNEL.COUNT": ("channels", "kanalen"),
    "FIXTURES.CHANNEL.CHOOSE_ONE": (
        "Select exactly one preset to add a channel to.",
        "Selecteer precies één preset om een kanaal aan toe te voegen.",
    ),
    "FIXTURES.CHANNEL.FULL": (
        "Every channel of the preset has a value. Raise its number of channels first.",
        "Elk kanaal van de preset heeft een waarde. Verhoog eerst het aantal kanalen.",
    ),
    "FIXTURES.PATCH.TITLE": ("Start address", "Startadres"),
    "FIXTURES.PATCH.START_ADDRESS": ("Start address", "Startadres"),
    "FIXTURES.PATCH.DEVICE_COUNT": ("Devices", "Apparaten"),
    "FIXTURES.PATCH.MODE": ("Devices and presets", "Apparaten en presets"),
    "FIXTURES.PATCH.LOCATION": ("Place in the cue", "Plaats in de cue"),
    "FIXTURES.PATCH.APPLY": ("Patch", "Patchen"),
    "FIXTURES.PATCH.NO_FIXTURE": ("Please select the presets to patch.", "Selecteer de presets om te patchen."),
    "FIXTURES.PATCH.NO_CUES": (
        "No cue is selected. Select the DMX cues to patch into in the cue list first.",
        "Er is geen cue geselecteerd. Selecteer eerst in de cuelijst de DMX-cues.",
    ),
    "FIXTURES.PATCH.START_ADDRESS_RANGE": (
        "The start address is a DMX channel from 1 to 512.",
        "Het startadres is een DMX-kanaal van 1 tot 512.",
    ),
}

for _field, (_english, _dutch) in _EFFECT_COLUMNS.items():
    TEXTS["EFFECTS.COLUMN." + _field] = (_english, _dutch)
