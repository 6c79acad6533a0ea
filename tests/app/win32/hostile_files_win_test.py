#!/usr/bin/python3
"""The Windows program under Wine on settings files that are not what they should be.

Usage: hostile_files_win_test.py WINE WINESERVER PREFIX RUNTIME_DIR

Each case runs the NT program in a folder of its own with the example
configuration (screens 0 and 1 only), one file spoilt: a DOTVANE.INI over its 4 MB cap and a screen
file that is a folder are each told in one message box, after which the
window appears and shows its picture; an empty ScreenFile takes the default
screen file without a box. Each time the program then still answers its
menu: File > Exit ends it with status 0.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import SCREEN0, SCREEN1, MainWindow, Session, fail, matches, two_screens, until  # noqa: E402

CAPTION = "Dotvane v. 0.3.2 pre13 NT"
PROGRAM = "dotvane.exe"


def huge(text):
    """The settings, then comment lines past 4 MB (4,194,304 bytes)."""
    return text + ("; " + "x" * 1022 + "\r\n") * 4200


def screen_file(name):
    return lambda text: re.sub(r"(?m)^ScreenFile=.*$", "ScreenFile=" + name, text)


# Each case: its name, how it edits DOTVANE.INI, and whether a box tells it.
CASES = [
    ("DOTVANE.INI over 4 MB", huge, True),
    ("the screen file is a folder", screen_file("screens"), True),
    ("the screen file name is empty", screen_file(""), False),
]


def run_case(session, name, spoil, told):
    folder = session.program_folder(PROGRAM, settings=spoil, screens=two_screens)
    dotvane = session.start(folder, PROGRAM)
    if told:
        box = until("%s: a box tells it" % name, lambda: session.visible("^Dotvane$"), 60)
        session.answer_box(box)
    window = MainWindow(session, CAPTION, PROGRAM)
    until("%s: the window shows its picture" % name, window.client)
    if not told:
        rows = until("%s: the default screens show" % name,
                     lambda: (lambda r: r if matches(r, SCREEN0) or matches(r, SCREEN1) else None)(window.rows()))
        print("%s: rows %s" % (name, rows[:2]))
    if session.visible("^Dotvane$"):
        fail("%s: a message box is open after start-up" % name)
    window.menu(0, 1)
    until("%s: File > Exit ends the program" % name, lambda: dotvane.poll() is not None)
    if dotvane.returncode != 0:
        fail("%s: exit status %d" % (name, dotvane.returncode))
    print("%s: %s" % (name, "told, then ran" if told else "ran"))


def main():
    session = Session(*sys.argv[1:5])
    try:
        for case in CASES:
            run_case(session, *case)
        print("PASS")
    finally:
        session.close()


if __name__ == "__main__":
    main()
