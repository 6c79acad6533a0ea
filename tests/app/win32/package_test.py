#!/usr/bin/python3
"""The Windows package, unpacked and started under Wine.

Usage: package_test.py WINE WINESERVER PREFIX RUNTIME_DIR PACKAGE

The zip holds one folder with both programs, DOTVANE.INI, LCDPERF.INI,
screens, images, the simulated port library and the readme. Each program,
started from the unpacked folder, shows its window with its caption and the
example screens, and ends through File > Exit with status 0.
"""
import os
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import SCREEN0, SCREEN1, MainWindow, Session, fail, matches, until  # noqa: E402

EXPECTED = {"dotvane.exe", "dotvane-plain.exe", "DOTVANE.INI", "LCDPERF.INI", "README.txt",
            "screens/default.ini", "images/frame.bmp", "simport/DLPortIO.dll", "simport/DLPortIO.SYS"}


def main():
    package = sys.argv[5]
    session = Session(*sys.argv[1:5])
    try:
        with zipfile.ZipFile(package) as archive:
            names = archive.namelist()
            top = os.path.basename(package)[:-len(".zip")]
            inside = {name[len(top) + 1:] for name in names if name.startswith(top + "/")}
            if len(inside) != len(names) or not EXPECTED <= inside:
                fail("the package holds %s" % sorted(names))
            unpacked = tempfile.mkdtemp(prefix="dotvane-package-")
            session.folders.append(unpacked)
            archive.extractall(unpacked)
        folder = os.path.join(unpacked, top)
        for program, caption in (("dotvane.exe", "Dotvane v. 0.3.2 pre13 NT"),
                                 ("dotvane-plain.exe", "Dotvane v. 0.3.2 pre13")):
            dotvane = session.start(folder, program)
            window = MainWindow(session, caption, program)
            until("%s shows the example screens" % program,
                  lambda: (lambda r: matches(r, SCREEN0) or matches(r, SCREEN1))(window.rows()))
            window.menu(0, 1)
            until("File > Exit ends %s" % program, lambda: dotvane.poll() is not None)
            if dotvane.returncode != 0:
                fail("%s: exit status %d" % (program, dotvane.returncode))
            print("%s from the unpacked %s: window, screens, exit 0" % (program, os.path.basename(package)))
        print("PASS")
    finally:
        session.close()


if __name__ == "__main__":
    main()
