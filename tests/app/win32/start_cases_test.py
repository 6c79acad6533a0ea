#!/usr/bin/python3
"""The Windows program under Wine started from spoilt settings and from the package.

Usage: start_cases_test.py WINE WINESERVER PREFIX RUNTIME_DIR PACKAGE

Each case starts a program in a folder of its own: with a DOTVANE.INI over
its 4 MB cap, or with a screen file that is a folder, one message box tells
it, and the window then appears and runs; an empty ScreenFile takes the
default screen file without a box. From the unpacked package (one folder
with both programs, the example configuration, simport/ and a readme), each
program shows its window and the example screens. Each run ends through
File > Exit with status 0.
"""
import os
import re
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import SCREEN0, SCREEN1, MainWindow, Session, fail, two_screens, until  # noqa: E402

NT, PLAIN = ("dotvane.exe", "Dotvane v. 0.3.2 pre13 NT"), ("dotvane-plain.exe", "Dotvane v. 0.3.2 pre13")
PACKED = {"dotvane.exe", "dotvane-plain.exe", "DOTVANE.INI", "LCDPERF.INI", "README.txt", "screens/default.ini",
          "images/frame.bmp", "simport/DLPortIO.dll", "simport/DLPortIO.SYS"}


def spoilt(session, settings):
    return session.folder(NT[0], settings=settings, screens=two_screens)


def screen_file(name):
    return lambda text: re.sub(r"(?m)^ScreenFile=.*$", "ScreenFile=" + name, text)


def unpacked(session, package):
    session.folders.append(tempfile.mkdtemp(prefix="dotvane-package-"))
    with zipfile.ZipFile(package) as archive:
        top = os.path.basename(package)[:-len(".zip")] + "/"
        if any(not name.startswith(top) for name in archive.namelist()) or \
                not PACKED <= {name[len(top):] for name in archive.namelist()}:
            fail("the package holds %s" % archive.namelist())
        archive.extractall(session.folders[-1])
    return os.path.join(session.folders[-1], top)


def main():
    session = Session(*sys.argv[1:5])
    package = sys.argv[5]
    # Each case: its name, its folder, the program, whether a box tells of a problem, the screens.
    cases = [
        ("DOTVANE.INI over 4 MB", lambda: spoilt(session, lambda text: text + ("; " + "x" * 1022 + "\r\n") * 4200),
         NT, True, None),
        ("a screen file that is a folder", lambda: spoilt(session, screen_file("screens")), NT, True, None),
        ("an empty ScreenFile", lambda: spoilt(session, screen_file("")), NT, False, [SCREEN0, SCREEN1]),
        ("the package", lambda: unpacked(session, package), NT, False, [SCREEN0, SCREEN1]),
        ("the package", lambda: unpacked(session, package), PLAIN, False, [SCREEN0, SCREEN1]),
    ]
    try:
        for name, folder, (program, caption), told, screens in cases:
            dotvane = session.start(folder(), program)
            if told:
                session.answer_box(until("%s: a box tells it" % name, lambda: session.visible("^Dotvane$"), 60))
            window = MainWindow(session, caption, program)
            until("%s: the window shows its picture" % name, window.client)
            if screens:
                window.wait_rows("%s: the window shows the screens" % name, *screens)
            if session.visible("^Dotvane$"):
                fail("%s: a message box is open after start-up" % name)
            window.exit(dotvane)
            print("%s, %s: %s" % (name, program, "told, then ran" if told else "ran"))
        print("PASS")
    finally:
        session.close()


if __name__ == "__main__":
    main()
