"""Errors: the last-error keys of operations and services, shown in a message box."""

TEXTS = {
    "ERROR.GENERIC": ("The action could not be completed.", "De actie kon niet worden voltooid."),
    "ERROR.MEMORY": (
        "There is not enough memory to read the file.",
        "Er is onvoldoende geheugen om het bestand te lezen.",
    ),
    # Project files.
    "ERROR.FAILED_TO_OPEN_FILE_FOR_READING": (
        "The file could not be opened, or it is not a file of this program.",
        "Het bestand kon niet worden geopend of is geen bestand van dit programma.",
    ),
    "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING": (
        "The file could not be created. Check that the folder exists and that you may write"
        " to it.",
        "Het bestand kon niet worden aangemaakt. Controleer of de map bestaat en of u daarin"
        " mag schrijven.",
    ),
    "ERROR.FAILED_TO_WRITE_TO_FILE": (
        "The file could not be written completely.",
        "Het bestand kon niet volledig worden geschreven.",
    ),
    "ERROR.FAILED_TO_COPY_WAVE": (
        "The soundtrack could not be copied beside the project file.",
        "De soundtrack kon niet naast het projectbestand worden gekopieerd.",
    ),
    "ERROR.INVALID_FWP": (
        "The project file is damaged or is not a Skyfirewright project.",
        "Het projectbestand is beschadigd of is geen Skyfirewright-project.",
    ),
    "ERROR.DAMAGED_FILE": (
        "The file is damaged: its check sum does not match, bytes follow its end, a part of it"
        " does not end where it should, or it holds values or amounts no show can have. It was"
        " not opened. What can still be read of it can be opened knowingly (salvaged); check"
        " every cue before firing.",
        "Het bestand is beschadigd: de controlesom klopt niet, er staan bytes na het einde, een"
        " deel ervan eindigt niet waar het zou moeten, of het bevat waarden of aantallen die"
        " geen show kan hebben. Het is niet geopend. Wat er nog van te lezen is, kan bewust"
        " worden geopend (gered); controleer dan elke cue voor het afvuren.",
    ),
    "ERROR.TIMECODE": (
        "The file uses another frame rate than this show. Only shows with the same frame rate"
        " can be merged.",
        "Het bestand gebruikt een andere framesnelheid dan deze show. Alleen shows met dezelfde"
        " framesnelheid kunnen worden samengevoegd.",
    ),
    # Library files (effects and fixture presets).
    "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO": (
        "The library file could not be created.",
        "Het bibliotheekbestand kon niet worden aangemaakt.",
    ),
    "ERROR.FAILED_TO_WRITE_TO_FILE_TODO": (
        "The library file could not be written completely.",
        "Het bibliotheekbestand kon niet volledig worden geschreven.",
    ),
    "ERROR.INVALID_FWP_TODO": (
        "The file is not a library of the expected kind (effects or fixture presets).",
        "Het bestand is geen bibliotheek van de verwachte soort (effecten of fixturepresets).",
    ),
    "ERROR.INVALID_FWF": (
        "The fixture preset file is damaged: a channel entry is incomplete.",
        "Het fixturepresetbestand is beschadigd: een kanaalregel is onvolledig.",
    ),
    # Imports from another show program.
    "ERROR.INVALID_EFX": (
        "The effect database could not be read.",
        "De effectendatabase kon niet worden gelezen.",
    ),
    "ERROR.INVALID_SCX": (
        "The show database could not be read.",
        "De showdatabase kon niet worden gelezen.",
    ),
    # Editing.
    "ERROR.FAILED_TO_OPEN_WAVE": (
        "The sound file could not be opened.",
        "Het geluidsbestand kon niet worden geopend.",
    ),
    "ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS": (
        "The key cannot be renamed: a selected cue already has a key of that name.",
        "De sleutel kan niet worden hernoemd: een geselecteerde cue heeft al een sleutel met"
        " die naam.",
    ),
    "ERROR.INVALID_METADATA_TILDE": (
        "Keys and values cannot contain the character ~.",
        "Sleutels en waarden mogen het teken ~ niet bevatten.",
    ),
    "ERROR.NO_FREE_PYRO_ADDRESS": (
        "No free firing module is left for the selected cues.",
        "Er is geen vrije ontstekingsmodule meer over voor de geselecteerde cues.",
    ),
    # Patching fixture presets into DMX cues.
    "ERROR.PATCH_NO_FIXTURE": (
        "Select at least one fixture to patch.",
        "Selecteer ten minste één fixture om te patchen.",
    ),
    "ERROR.PATCH_START_ADDRESS": (
        "The start address must be a DMX channel from 1 to 512.",
        "Het startadres moet een DMX-kanaal van 1 tot en met 512 zijn.",
    ),
    "ERROR.PATCH_DEVICE_NUMBER": ("Device numbers start at 1.", "Apparaatnummers beginnen bij 1."),
    "ERROR.PATCH_CHANNEL_RANGE": (
        "The devices do not fit: a channel would lie beyond DMX channel 512.",
        "De apparaten passen niet: een kanaal zou voorbij DMX-kanaal 512 vallen.",
    ),
    "ERROR.PATCH_MODE": (
        "This patch mode does not fit the number of devices and fixtures.",
        "Deze patchmodus past niet bij het aantal apparaten en fixtures.",
    ),
    # Reports.
    "ERROR.PDF_REPORT": (
        "The report could not be made.",
        "Het rapport kon niet worden gemaakt.",
    ),
    # The firing controller.
    "ERROR.USB_DEVICE_NOT_CONNECTED": (
        "No firing controller was found. Check the USB cable and that the controller is"
        " switched on.",
        "Er is geen ontstekingscontroller gevonden. Controleer de USB-kabel en of de controller"
        " aan staat.",
    ),
    "ERROR.USB_DEVICE_ERROR": (
        "The firing controller does not answer correctly.",
        "De ontstekingscontroller antwoordt niet correct.",
    ),
    "ERROR.USB_DEVICE_STILL_ARMED": (
        "The firing controller still reports itself armed after it was told to disarm, so it"
        " is not used. Switch it to safe with its key switch, check it and connect again.",
        "De ontstekingscontroller meldt zich nog steeds gewapend nadat hij ontwapend moest"
        " worden, dus hij wordt niet gebruikt. Zet hem met de sleutelschakelaar op veilig,"
        " controleer hem en verbind opnieuw.",
    ),
    "ERROR.USB_DISARM_NOT_CONFIRMED": (
        "The firing controller did not confirm that it is disarmed: it may still be armed."
        " Make it safe at the controller itself before anyone approaches the firing area.",
        "De ontstekingscontroller heeft niet bevestigd dat hij ontwapend is: hij kan nog"
        " gewapend zijn. Maak hem op de controller zelf veilig voordat iemand het"
        " afsteekterrein betreedt.",
    ),
    # MIDI time code.
    "ERROR.MIDI_PORT_NOT_FOUND": (
        "There is no such MIDI port, or it could not be opened.",
        "Die MIDI-poort bestaat niet of kon niet worden geopend.",
    ),
    "ERROR.MIDI.INCORRECT.TIMEFORMAT": (
        "The incoming MIDI time code has another frame rate than the show. Playback was"
        " paused and set back to the start.",
        "De binnenkomende MIDI-tijdcode heeft een andere framesnelheid dan de show. Het"
        " afspelen is gepauzeerd en teruggezet naar het begin.",
    ),
    # Start-up: the graphics system could not be started.
    "ERROR.GRAPHICS.VISTA": (
        "The graphics system could not be started. Do you want to open the web page with"
        " the update that provides it?",
        "Het grafische systeem kon niet worden gestart. Wilt u de webpagina openen met de"
        " update die het levert?",
    ),
    "ERROR.GRAPHICS.NOTVISTA": (
        "The graphics system could not be started. Skyfirewright closes.",
        "Het grafische systeem kon niet worden gestart. Skyfirewright wordt afgesloten.",
    ),
}
