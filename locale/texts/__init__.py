"""The user-interface texts, one module per area of the program.

Each module holds TEXTS: a dict from localization key to (English, Dutch). The generator
locale/make_locale_files.py collects every module of this folder.
"""
