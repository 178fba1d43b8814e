"""The cue check before a show and the limits of cue values: why a cue cannot fire (each text
takes the cue's number), why a typed value is refused, and why a show cannot be exported."""

TEXTS = {
    # The cue check: one reason per cue that cannot fire.
    "CHECK.NEGATIVE_PREFIRE": (
        "Cue %d has a negative prefire time: it would fire after its timecode.",
        "Cue %d heeft een negatieve prefire-tijd: de cue zou na de tijdcode vuren.",
    ),
    "CHECK.FIRES_BEFORE_ZERO": (
        "Cue %d fires before 00:00:00:00: its prefire time is longer than its timecode.",
        "Cue %d vuurt vóór 00:00:00:00: de prefire-tijd is langer dan de tijdcode.",
    ),
    "CHECK.FIRES_AFTER_DAY": (
        "Cue %d lies at or after 24:00:00:00; a show lasts at most one day.",
        "Cue %d ligt op of na 24:00:00:00; een show duurt hoogstens één dag.",
    ),
    "CHECK.PREFIRE_TOO_LONG": (
        "Cue %d has a prefire time longer than the firing controller can wait (4 h 39 min).",
        "Cue %d heeft een prefire-tijd die langer is dan de ontstekingscontroller kan wachten"
        " (4 u 39 min).",
    ),
    "CHECK.NO_COMMAND": (
        "Cue %d has nothing to fire: no address and no DMX channel, or it is a reminder.",
        "Cue %d heeft niets om te ontsteken: geen adres en geen DMX-kanaal, of het is een"
        " herinnering.",
    ),
    "CHECK.ADDRESS_OUT_OF_RANGE": (
        "Cue %d has an address the firing controller cannot reach: pyro addresses run from 000"
        " to FFF, DMX channels from 1 to 512.",
        "Cue %d heeft een adres dat de ontstekingscontroller niet kan bereiken: pyro-adressen"
        " lopen van 000 tot FFF, DMX-kanalen van 1 tot 512.",
    ),
    "CHECK.UNIVERSE_OUT_OF_RANGE": (
        "Cue %d has a DMX universe above 7F.",
        "Cue %d heeft een DMX-universe boven 7F.",
    ),
    "CHECK.NO_CHANNEL": (
        "Cue %d has a DMX text but no DMX channel. Set its channel.",
        "Cue %d heeft een DMX-tekst maar geen DMX-kanaal. Stel het kanaal in.",
    ),
    "CHECK.VALUE_OUT_OF_RANGE": (
        "Cue %d has a DMX value above 255.",
        "Cue %d heeft een DMX-waarde boven 255.",
    ),
    # Values typed for the selected cues, refused before anything changes.
    "ERROR.VALUE.PREFIRE": (
        "The prefire time cannot be negative.",
        "De prefire-tijd kan niet negatief zijn.",
    ),
    "ERROR.VALUE.GROUP": (
        "The group must be a number from 1 to 16.",
        "De groep moet een getal van 1 tot en met 16 zijn.",
    ),
    "ERROR.VALUE.PYRO_ADDRESS": (
        "The pyro address must lie between 000 and FFF.",
        "Het pyro-adres moet tussen 000 en FFF liggen.",
    ),
    "ERROR.VALUE.DMX_UNIVERSE": (
        "The DMX universe must lie between 00 and 7F.",
        "Het DMX-universe moet tussen 00 en 7F liggen.",
    ),
    "ERROR.VALUE.DMX_CHANNEL": (
        "The DMX channel must be a number from 1 to 512.",
        "Het DMX-kanaal moet een getal van 1 tot en met 512 zijn.",
    ),
    "ERROR.VALUE.DMX_VALUE": (
        "The DMX value must be a number from 0 to 255.",
        "De DMX-waarde moet een getal van 0 tot en met 255 zijn.",
    ),
    "ERROR.VALUE.DURATION": (
        "The duration cannot be negative.",
        "De duur kan niet negatief zijn.",
    ),
    "ERROR.VALUE.QUANTITY": (
        "The quantity cannot be negative.",
        "Het aantal kan niet negatief zijn.",
    ),
    "ERROR.VALUE.CHASE_SPEED": (
        "The chase speed must be a number from 0 to 1000 steps a minute.",
        "De chasesnelheid moet een getal van 0 tot en met 1000 stappen per minuut zijn.",
    ),
    "ERROR.VALUE.PYRO_TYPE": (
        "The pyro type must be single or parallel.",
        "Het pyrotype moet enkel of parallel zijn.",
    ),
    "ERROR.VALUE.CHASE_PATH": (
        "The chase path must be sine or block.",
        "Het chaseverloop moet sinus of blok zijn.",
    ),
    # The show file for the firing system.
    "ERROR.SHOW_FILE.CUE_TIMING": (
        "A cue fires before 00:00:00:00 or at 24:00:00:00 or later, or has a negative prefire"
        " time; the show file cannot hold it. Check the show and correct the marked cues.",
        "Een cue vuurt vóór 00:00:00:00 of op of na 24:00:00:00, of heeft een negatieve"
        " prefire-tijd; het showbestand kan die niet bevatten. Controleer de show en corrigeer"
        " de gemarkeerde cues.",
    ),
    "ERROR.SHOW_FILE.TOO_MANY_CUES": (
        "The show has more than 65,535 pyro and DMX cues; the firing system's show file cannot"
        " hold them. Split the show into parts.",
        "De show heeft meer dan 65.535 pyro- en DMX-cues; het showbestand van het"
        " ontstekingssysteem kan ze niet bevatten. Splits de show in delen.",
    ),
}
