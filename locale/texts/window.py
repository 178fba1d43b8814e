"""Main window, message boxes, the main menu and the texts shared by every dialog."""

TEXTS = {
    "WINDOW.TITLE": ("Skyfirewright", "Skyfirewright"),
    # " - " and the show's name follow, and " - " and WINDOW.SHOW_MODE in show mode.
    "WINDOW.SHOW_MODE": ("Show mode", "Showmodus"),
    "WINDOW.ERROR": ("Error", "Fout"),
    # Message boxes: the key is the caption, the key with "_EX" the question.
    "WINDOW.SAVE_CHANGES": ("Unsaved changes", "Niet-opgeslagen wijzigingen"),
    "WINDOW.SAVE_CHANGES_EX": (
        "Do you want to save the changes to the current show?",
        "Wilt u de wijzigingen in de huidige show opslaan?",
    ),
    "WINDOW.AUTOSAVE_CHANGES": ("Automatic saving", "Automatisch opslaan"),
    "WINDOW.AUTOSAVE_CHANGES_EX": (
        "The show has unsaved changes. Save it now and every five minutes from now on?",
        "De show heeft niet-opgeslagen wijzigingen. Wilt u de show nu en vanaf nu elke vijf"
        " minuten automatisch opslaan?",
    ),
    "WINDOW.EXIT_SHOW_MODE": ("Leave show mode", "Showmodus verlaten"),
    "WINDOW.EXIT_SHOW_MODE_EX": (
        "Leave show mode? The firing controller is disconnected and the show loaded into it"
        " is discarded.",
        "Showmodus verlaten? De verbinding met de ontstekingscontroller wordt verbroken en de"
        " geladen show wordt uit de controller verwijderd.",
    ),
    "WINDOW.SHOW_MODE_RESET": ("Reset the show", "Show terugzetten"),
    "WINDOW.SHOW_MODE_RESET_EX": (
        "Stop the show and set every cue back to its starting state?",
        "De show stoppen en alle cues terugzetten naar hun beginstand?",
    ),
    "WINDOW.INVALID_INPUT": ("Invalid input", "Ongeldige invoer"),
    "WINDOW.INVALID_INPUT_EX": (
        "This value is not valid for the field. The field shows its current value again.",
        "Deze waarde is niet geldig voor dit veld. Het veld toont weer de huidige waarde.",
    ),
    "WINDOW.QUERY_OVERWRITE": ("File exists", "Bestand bestaat al"),
    "WINDOW.QUERY_OVERWRITE_EX": (
        "A file with this name already exists. Do you want to replace it?",
        "Er bestaat al een bestand met deze naam. Wilt u het vervangen?",
    ),
    "GENERIC.OK": ("OK", "OK"),
    "GENERIC.CANCEL": ("Cancel", "Annuleren"),
    "GENERIC.NEXT": ("Next", "Volgende"),
    "GENERIC.FINISH": ("Finish", "Voltooien"),
    # The name of a show that has not been saved yet.
    "FILENAME.NEW": ("Untitled show", "Naamloze show"),
    "MESSAGES.LOAD.EFFECTFILE.TITLE": ("Effect library", "Effectenbibliotheek"),
    "MESSAGES.LOAD.EFFECTFILE.MESSAGE": (
        "The effects of the file were added to the effect library.",
        "De effecten uit het bestand zijn aan de effectenbibliotheek toegevoegd.",
    ),
    "MESSAGES.LOAD.PRESETFILE.TITLE": ("Fixture presets", "Fixturepresets"),
    "MESSAGES.LOAD.PRESETFILE.MESSAGE": (
        "The fixture presets of the file were loaded.",
        "De fixturepresets uit het bestand zijn geladen.",
    ),
    # A project whose soundtrack cannot be opened is opened with its cues.
    "MESSAGES.SOUNDTRACK_MISSING.TITLE": ("Soundtrack missing", "Soundtrack ontbreekt"),
    "MESSAGES.SOUNDTRACK_MISSING.MESSAGE": (
        "The show's soundtrack could not be opened: the WAVE file beside the project file is"
        " missing or cannot be read. The cues were opened, and the show keeps its link to the"
        " soundtrack. Put the file back and open the show again, or link another soundtrack.",
        "De soundtrack van de show kon niet worden geopend: het WAVE-bestand naast het"
        " projectbestand ontbreekt of is onleesbaar. De cues zijn geopend en de show houdt de"
        " koppeling met de soundtrack. Zet het bestand terug en open de show opnieuw, of koppel"
        " een andere soundtrack.",
    ),
    # The main menu.
    "MENU.WELCOME": ("Welcome to Skyfirewright", "Welkom bij Skyfirewright"),
    "MENU.WELCOME_EX": (
        "Start a new show, open a saved one or import a show from another program.",
        "Begin een nieuwe show, open een opgeslagen show of importeer een show uit een ander"
        " programma.",
    ),
    "MENU.NEW": ("New show", "Nieuwe show"),
    "MENU.OPEN": ("Open show", "Show openen"),
    "MENU.COMBINE": ("Merge shows", "Shows samenvoegen"),
    "MENU.IMPORT": ("Import show", "Show importeren"),
    "MENU.SAVE": ("Save", "Opslaan"),
    "MENU.SAVE_AS": ("Save as", "Opslaan als"),
    "MENU.EXPORT_QUELIST": ("Export controller show file", "Controllershowbestand exporteren"),
    "MENU.RECENT_FILES": ("Recent shows", "Recente shows"),
    "MENU.MIDI": ("MIDI time code", "MIDI-tijdcode"),
    "MENU.PRESET": ("Fixture presets", "Fixturepresets"),
    "MENU.GENERATE_REPORTS": ("Reports", "Rapporten"),
    "MENU.EFFECTFILE": ("Effect library", "Effectenbibliotheek"),
    # Switches between English and Dutch, so it names the other language.
    "MENU.CONFIG": ("Nederlands", "English"),
    "MENU.HELP": ("Manual", "Handleiding"),
    # " " and the program's version follow.
    "MENU.VERSION": ("Version", "Versie"),
    # The headings of the menu's columns.
    "MENU.HEADING.SHOW": ("Show", "Show"),
    "MENU.HEADING.EDIT": ("Edit", "Bewerken"),
    "MENU.HEADING.LIBRARIES": ("Libraries and tools", "Bibliotheken en hulpmiddelen"),
    "MENU.HEADING.PROGRAM": ("Program", "Programma"),
    # Tool tips of the status display's transport buttons.
    "STATUS.PLAY": ("Play", "Afspelen"),
    "STATUS.PAUSE": ("Pause", "Pauzeren"),
    "STATUS.STOP": ("Stop", "Stoppen"),
    "STATUS.RECORD": ("Record cues while the show plays", "Cues opnemen terwijl de show speelt"),
    # Under MENU.RECENT_FILES while the list is empty.
    "MENU.NO_RECENT_FILES": ("Shows you open or save appear here.",
                             "Shows die u opent of opslaat, verschijnen hier."),
}
