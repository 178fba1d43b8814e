"""The cue list: column titles, cue states and the command column."""

TEXTS = {
    # Column titles of the cue list view.
    "CUELIST.NUMBER": ("No.", "Nr."),
    "CUELIST.STATUS": ("State", "Status"),
    "CUELIST.TIMECODE": ("Timecode", "Tijdcode"),
    "CUELIST.PREFIRE": ("Prefire", "Voorontsteking"),
    "CUELIST.DURATION": ("Duration", "Duur"),
    "CUELIST.COMMAND": ("Command", "Opdracht"),
    "CUELIST.GROUP": ("Group", "Groep"),
    "CUELIST.QTY": ("Qty", "Aantal"),
    "CUELIST.TYPE": ("Type", "Type"),
    "CUELIST.ARTICLENR": ("Article no.", "Artikelnr."),
    "CUELIST.POSITION": ("Position", "Positie"),
    "CUELIST.ANGLE": ("Angle", "Hoek"),
    "CUELIST.PRICE": ("Price", "Prijs"),
    "CUELIST.DESCRIPTION": ("Description", "Omschrijving"),
    # A cue's state during the show.
    "CUESTATE.DISABLED": ("Disabled", "Uitgeschakeld"),
    "CUESTATE.QUEUED": ("Queued", "In de wachtrij"),
    "CUESTATE.NEXT": ("Next", "Volgende"),
    "CUESTATE.PREFIRE": ("Prefire", "Voorontsteking"),
    "CUESTATE.ACTIVE": ("Active", "Actief"),
    "CUESTATE.DONE": ("Done", "Klaar"),
    "CUESTATE.SKIPPED": ("Skipped", "Overgeslagen"),
    # Problems and module checks, shown before the state.
    "CUESTATE.NEG_TRIGGER": ("Fires before 00:00:00:00", "Vuurt voor 00:00:00:00"),
    "CUESTATE.DUPLICATE": ("Duplicate address", "Dubbel adres"),
    "CUESTATE.BUSY": ("Address busy", "Adres bezet"),
    "CUESTATE.COMMFAIL": ("Module does not answer", "Module antwoordt niet"),
    "CUESTATE.NOCONTINUITY": ("No continuity", "Geen continuïteit"),
    "CUESTATE.CONTINUITY": ("Continuity", "Continuïteit"),
    "CUESTATE.NOTCHECKED": ("Not checked", "Niet getest"),
    # The command column. The marks take, in order: the pyro address (shown in hexadecimal,
    # as it is typed); DMX channel and level; the number of channels; the number of steps
    # and the steps per minute. A text with another number of "%" is shown as it is.
    "CUECOMMAND.PYRO": ("Pyro %03X", "Pyro %03X"),
    "CUECOMMAND.PYRO.UNDEF": ("Pyro (no address)", "Pyro (geen adres)"),
    "CUECOMMAND.DMX512": ("DMX channel %d at %d", "DMX-kanaal %d op %d"),
    "CUECOMMAND.DMX512.SCENE": ("DMX scene of %d channels", "DMX-scène met %d kanalen"),
    "CUECOMMAND.DMX512.CHASE": (
        "DMX chase of %d steps at %d steps/min",
        "DMX-chase met %d stappen, %d stappen/min",
    ),
    "CUECOMMAND.DMX512.UNDEF": ("DMX (no channels)", "DMX (geen kanalen)"),
}
