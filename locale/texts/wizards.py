"""The wizards: their titles, the header of every page, and every choice with its
explanation.

A page's header is "WIZ." + page + ".HEADER" with the line "WIZ." + page + ".HEADER_EX"
under it. A choice button's explanation is its key followed by "_EX"; the four radio channel
buttons share "WIZ.SHOW.WIRELESS_OPT.CHX_EX".
"""

TEXTS = {
    "WIZ.SHOW.TITLE": ("Show mode", "Showmodus"),
    "WIZ.SHOW.TITLE_CHECK_ONLY": ("Check the show", "Show controleren"),
    "WIZ.NEW.TITLE": ("New show", "Nieuwe show"),
    "WIZ.SCX_FMT.TITLE": ("Import show", "Show importeren"),
    "WIZ.MIDI.TITLE": ("MIDI time code", "MIDI-tijdcode"),
    "WIZ.REPORTS.TITLE": ("Reports", "Rapporten"),
    "WIZ.SHOW.WIRELESS_OPT.CHX_EX": (
        "Every firing module must be set to this radio channel.",
        "Alle ontstekingsmodules moeten op dit radiokanaal staan.",
    ),
}

# Page name: (English header, Dutch header, English explanation, Dutch explanation).
PAGES = {
    # The check step and the compile step of the show wizards share this page.
    "SHOW.COMPILE": (
        "Preparing the show",
        "Show voorbereiden",
        "The cues are checked and the show is prepared for the firing controller. Please wait.",
        "De cues worden gecontroleerd en de show wordt voorbereid voor de ontstekingscontroller."
        " Even geduld.",
    ),
    "SHOW.COMPILE_ERROR": (
        "The show is not ready",
        "De show is niet gereed",
        "Some cues cannot be fired: they fire before 00:00:00:00, or have no address or DMX"
        " channel. Correct the marked cues in the cue list and try again.",
        "Sommige cues kunnen niet worden ontstoken: ze vuren vóór 00:00:00:00, of hebben geen"
        " adres of DMX-kanaal. Corrigeer de gemarkeerde cues in de cuelijst en probeer het"
        " opnieuw.",
    ),
    "SHOW.COMPILE_OK": (
        "The show is ready",
        "De show is gereed",
        "Every cue was checked; no problems were found.",
        "Alle cues zijn gecontroleerd; er zijn geen problemen gevonden.",
    ),
    "SHOW.CONNECT": (
        "Connecting the firing controller",
        "Verbinden met de ontstekingscontroller",
        "Looking for the firing controller on USB. Please wait.",
        "De ontstekingscontroller wordt via USB gezocht. Even geduld.",
    ),
    "SHOW.CONNECT_ERROR": (
        "No firing controller",
        "Geen ontstekingscontroller",
        "The firing controller could not be reached. Check the USB cable and that the"
        " controller is switched on, then start show mode again.",
        "De ontstekingscontroller is niet bereikbaar. Controleer de USB-kabel en of de"
        " controller aan staat, en start de showmodus opnieuw.",
    ),
    "SHOW.PYRO_MODE": (
        "Firing link",
        "Ontstekingsverbinding",
        "How does the controller reach the firing modules?",
        "Hoe bereikt de controller de ontstekingsmodules?",
    ),
    "SHOW.WIRELESS_OPT": (
        "Radio channel",
        "Radiokanaal",
        "Choose the radio channel the firing modules are set to.",
        "Kies het radiokanaal waarop de ontstekingsmodules zijn ingesteld.",
    ),
    "SHOW.MODE": (
        "Firing mode",
        "Ontstekingswijze",
        "Choose how the cues are fired.",
        "Kies hoe de cues worden ontstoken.",
    ),
    "SHOW.CLOCK_SOURCE": (
        "Show clock",
        "Showklok",
        "Choose the clock that runs the show's timecode.",
        "Kies de klok die de tijdcode van de show aanstuurt.",
    ),
    "SHOW.FINISHED": (
        "Show mode is on",
        "Showmodus is actief",
        "The show is loaded into the firing controller. Arm the system in the sidebar only"
        " when the firing site is clear.",
        "De show is in de ontstekingscontroller geladen. Zet het systeem pas in de zijbalk op"
        " scherp als het afsteekterrein vrij is.",
    ),
    "NEW.START": (
        "New show",
        "Nieuwe show",
        "This wizard creates a new, empty show.",
        "Deze wizard maakt een nieuwe, lege show aan.",
    ),
    "NEW.SMPTE_FORMAT": (
        "Frame rate",
        "Framesnelheid",
        "Choose the frame rate of the show's timecode: the rate of the soundtrack or video"
        " the show runs with.",
        "Kies de framesnelheid van de tijdcode van de show: die van de soundtrack of video"
        " waarmee de show loopt.",
    ),
    "NEW.WORKING": (
        "Creating the show",
        "Show aanmaken",
        "Please wait.",
        "Even geduld.",
    ),
    "NEW.FINISHED": (
        "New show created",
        "Nieuwe show aangemaakt",
        "You can link a soundtrack now, or later in the sidebar.",
        "U kunt nu een soundtrack koppelen, of later in de zijbalk.",
    ),
    "SCX_FMT.SMPTE_FORMAT": (
        "Frame rate of the imported show",
        "Framesnelheid van de geïmporteerde show",
        "The show database fits more than one frame rate. Choose the rate it was made with.",
        "De showdatabase past bij meer dan één framesnelheid. Kies de snelheid waarmee ze is"
        " gemaakt.",
    ),
    "MIDI.START": (
        "MIDI time code",
        "MIDI-tijdcode",
        "Should Skyfirewright follow or send MIDI time code?",
        "Moet Skyfirewright MIDI-tijdcode volgen of verzenden?",
    ),
    "MIDI.DEVICES": (
        "MIDI port",
        "MIDI-poort",
        "Choose the MIDI port to use. When no MIDI device is connected there is nothing to"
        " choose.",
        "Kies de MIDI-poort die u wilt gebruiken. Als er geen MIDI-apparaat is aangesloten,"
        " valt er niets te kiezen.",
    ),
    "REPORTS.START": (
        "Reports",
        "Rapporten",
        "Choose the report to make.",
        "Kies het rapport dat u wilt maken.",
    ),
    "REPORTS.PYRO": (
        "Pyro list",
        "Pyrolijst",
        "Choose which cues the list takes in.",
        "Kies welke cues de lijst meeneemt.",
    ),
    "REPORTS.LOCATION": (
        "Location list",
        "Locatielijst",
        "Choose which cues the list takes in.",
        "Kies welke cues de lijst meeneemt.",
    ),
    # Shown after the chosen report or export was written.
    "REPORTS.CSV.SUCCESS": (
        "Report ready",
        "Rapport klaar",
        "The file was written.",
        "Het bestand is geschreven.",
    ),
}

_FRAME_RATES = {
    "24": (
        "24 frames per second",
        "24 beelden per seconde",
        "24 frames per second, as used for film.",
        "24 beelden per seconde, zoals bij film.",
    ),
    "25": (
        "25 frames per second",
        "25 beelden per seconde",
        "25 frames per second, the European video standard (PAL).",
        "25 beelden per seconde, de Europese videostandaard (PAL).",
    ),
    "30DF": (
        "29.97 frames per second, drop frame",
        "29,97 beelden per seconde, drop-frame",
        "29.97 frames per second with drop-frame numbering, the American video standard"
        " (NTSC).",
        "29,97 beelden per seconde met drop-frame-nummering, de Amerikaanse videostandaard"
        " (NTSC).",
    ),
    "30": (
        "30 frames per second",
        "30 beelden per seconde",
        "30 frames per second, common for timecode with audio only.",
        "30 beelden per seconde, gebruikelijk bij tijdcode met alleen geluid.",
    ),
}

# Choice key: (English, Dutch, English explanation, Dutch explanation).
CHOICES = {
    "WIZ.SHOW.PYRO_MODE.WIRELESS": (
        "Wireless",
        "Draadloos",
        "The controller reaches the firing modules by radio; choose the radio channel next.",
        "De controller bereikt de ontstekingsmodules via de radio; kies hierna het radiokanaal.",
    ),
    "WIZ.SHOW.PYRO_MODE.WIRED": (
        "Wired",
        "Bedraad",
        "The firing modules are connected to the controller by cable.",
        "De ontstekingsmodules zijn met een kabel op de controller aangesloten.",
    ),
    "WIZ.SHOW.MODE.AUTO_FIRE": (
        "Automatic firing",
        "Automatisch ontsteken",
        "The cues fire on their timecode; choose the show clock next.",
        "De cues worden op hun tijdcode ontstoken; kies hierna de showklok.",
    ),
    "WIZ.SHOW.MODE.MANUAL_FIRE": (
        "Manual firing",
        "Handmatig ontsteken",
        "The operator fires the cues group by group from the sidebar.",
        "De bediener ontsteekt de cues groep voor groep vanuit de zijbalk.",
    ),
    "WIZ.SHOW.CLOCK_SOURCE.AUDIO": (
        "Soundtrack",
        "Soundtrack",
        "The soundtrack played by this computer runs the show.",
        "De soundtrack die deze computer afspeelt, stuurt de show aan.",
    ),
    "WIZ.SHOW.CLOCK_SOURCE.OUT": (
        "Controller clock",
        "Klok van de controller",
        "The firing controller runs the show on its own timecode clock.",
        "De ontstekingscontroller voert de show uit op zijn eigen tijdcodeklok.",
    ),
    "WIZ.SHOW.CLOCK_SOURCE.IN": (
        "External timecode",
        "Externe tijdcode",
        "The firing controller follows timecode that it receives from another device.",
        "De ontstekingscontroller volgt de tijdcode die hij van een ander apparaat ontvangt.",
    ),
    "WIZ.NEW.FINISHED.SELECT_AUDIO": (
        "Link a soundtrack",
        "Soundtrack koppelen",
        "Choose the WAVE file the show is timed to.",
        "Kies het WAVE-bestand waarop de show is getimed.",
    ),
    "WIZ.MIDI.BUTTON.SLAVE": (
        "Follow incoming time code",
        "Binnenkomende tijdcode volgen",
        "The show follows MIDI time code from another device.",
        "De show volgt de MIDI-tijdcode van een ander apparaat.",
    ),
    "WIZ.MIDI.BUTTON.MASTER": (
        "Send time code",
        "Tijdcode verzenden",
        "Skyfirewright sends MIDI time code to other devices while the show plays.",
        "Skyfirewright verzendt MIDI-tijdcode naar andere apparaten terwijl de show speelt.",
    ),
    "WIZ.MIDI.BUTTON.NONE": (
        "No MIDI time code",
        "Geen MIDI-tijdcode",
        "MIDI time code is switched off.",
        "MIDI-tijdcode wordt uitgeschakeld.",
    ),
    "WIZ.REPORTS.BUTTON.SHOW": (
        "Show report",
        "Showrapport",
        "Every cue in time order with its type, duration, location and description.",
        "Alle cues op tijdvolgorde met soort, duur, locatie en omschrijving.",
    ),
    "WIZ.REPORTS.BUTTON.LOADREPORT": (
        "Loading list",
        "Laadlijst",
        "What is loaded on each firing address.",
        "Wat er op elk ontstekingsadres geladen is.",
    ),
    "WIZ.REPORTS.BUTTON.BUNKERREPORT": (
        "Pyro list",
        "Pyrolijst",
        "The articles the show needs from the magazine, with quantities, weights and prices.",
        "De artikelen die de show uit de opslag nodig heeft, met aantallen, gewichten en"
        " prijzen.",
    ),
    "WIZ.REPORTS.BUTTON.LOCATIONREPORT": (
        "Location list",
        "Locatielijst",
        "What is placed where, with the firing addresses.",
        "Wat waar staat, met de ontstekingsadressen.",
    ),
    "WIZ.REPORTS.BUTTON.INVENTORYREPORT": (
        "Inventory list",
        "Inventarislijst",
        "The firing hardware the show uses.",
        "De ontstekingsapparatuur die de show gebruikt.",
    ),
    "WIZ.REPORTS.BUTTON.CSV": (
        "Cue list as CSV",
        "Cuelijst als CSV",
        "The cue list as a comma-separated file for spreadsheets.",
        "De cuelijst als kommagescheiden bestand voor spreadsheets.",
    ),
    "WIZ.REPORTS.PYRO.BUTTON.INCLUDE": (
        "All pyro cues",
        "Alle pyrocues",
        "Every article, and every cue without an article number on a line of its own.",
        "Elk artikel, en elke cue zonder artikelnummer op een eigen regel.",
    ),
    "WIZ.REPORTS.PYRO.BUTTON.EXCLUDE": (
        "Articles only",
        "Alleen artikelen",
        "Only cues with an article number; cues without one are left out.",
        "Alleen cues met een artikelnummer; cues zonder artikelnummer worden weggelaten.",
    ),
    "WIZ.REPORTS.PYRO.BUTTON.OVERVIEW": (
        "Overview by classification",
        "Overzicht per classificatie",
        "One line per classification with the totals, for transport and storage papers.",
        "Eén regel per classificatie met de totalen, voor transport- en opslagpapieren.",
    ),
    "WIZ.REPORTS.LOCATION.BUTTON.INCLUDE": (
        "All pyro cues",
        "Alle pyrocues",
        "Cues without a location are listed last, under their own heading.",
        "Cues zonder locatie staan als laatste, onder een eigen kop.",
    ),
    "WIZ.REPORTS.LOCATION.BUTTON.EXCLUDE": (
        "Placed cues only",
        "Alleen geplaatste cues",
        "Cues without a location are left out.",
        "Cues zonder locatie worden weggelaten.",
    ),
}

for _rate, _texts in _FRAME_RATES.items():
    CHOICES["WIZ.NEW.SMPTE_FORMAT." + _rate] = _texts
    CHOICES["WIZ.SCX_FMT.SMPTE_FORMAT." + _rate] = _texts

for _channel in range(1, 5):
    TEXTS[f"WIZ.SHOW.WIRELESS_OPT.CH{_channel}"] = (f"Channel {_channel}", f"Kanaal {_channel}")

for _page, (_english, _dutch, _english_ex, _dutch_ex) in PAGES.items():
    TEXTS["WIZ." + _page + ".HEADER"] = (_english, _dutch)
    TEXTS["WIZ." + _page + ".HEADER_EX"] = (_english_ex, _dutch_ex)

for _key, (_english, _dutch, _english_ex, _dutch_ex) in CHOICES.items():
    TEXTS[_key] = (_english, _dutch)
    TEXTS[_key + "_EX"] = (_english_ex, _dutch_ex)
