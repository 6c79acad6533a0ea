#!/usr/bin/python3
"""The Windows program under Wine at 96 and then at 144 dots per inch.

Usage: high_dpi_test.py WINE WINESERVER PREFIX RUNTIME_DIR

Each run is on the simulated port (an emulated KS0108, so that font texts
are drawn) with one screen holding two font texts. At 144 dpi the menu bar
and the status line are higher, the status text lies wholly inside the
window, and the virtual display keeps its 96-dpi pixels.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import SIMULATED_KS0108, MainWindow, Session, dark, fail, runs, until  # noqa: E402

PROGRAM, CAPTION = "dotvane.exe", "Dotvane v. 0.3.2 pre13 NT"
SCREENS = """[Screen0]
Enable=1
Interval=3600000
Update=1000
Line0="Dots per inch"
Graphic0=text(4,16,0,"RAM 42")
Graphic1=text(4,34,1,"Wg 17")

[Font0]
Name=Liberation Sans
Size=10

[Font1]
Name=Liberation Serif
Size=14
Invert=1
"""
ROWS = ["Dots per inch"]
DESKTOP = r"HKCU\Control Panel\Desktop"


def set_dpi(session, dpi):
    """Sets the prefix's resolution for the programs started from now on (None: Wine's default)."""
    change = ["add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi)] if dpi else \
        ["delete", DESKTOP, "/v", "LogPixels"]
    subprocess.run([session.wine, "reg"] + change + ["/f"], env=session.env, capture_output=True)


def measure(session, dpi):
    """Runs the program at `dpi`: the menu bar's height, the picture, the status line's height
    and the rows of its text, measured from the window once the status line shows text."""
    set_dpi(session, dpi)
    session.wine_status("sc", "delete", "DLPortIO")
    folder = session.folder(PROGRAM, settings=lambda text: re.sub(r"(?m)^Type=.*$", "Type=1", text),
                            screens=lambda text: SCREENS, simulated_port=True)
    dotvane = session.start(folder, PROGRAM, env=SIMULATED_KS0108)
    window = MainWindow(session, CAPTION, PROGRAM)
    window.wait_rows("at %d dpi the window shows the screen" % dpi, ROWS + [None] * 7)
    # Screen > Next, with the one screen there is, writes its number on the status line.
    window.key("ctrl+x")

    def written():
        x0, y0, shot = window.client()
        status = [any(dark(p) for p in row[x0:x0 + 257]) for row in shot[y0 + 130:]]
        return any(status) and (y0, [row[x0:x0 + 256] for row in shot[y0:y0 + 128]], len(status), runs(status, 2))
    measured = until("at %d dpi the status line shows text" % dpi, written)
    window.exit(dotvane)
    return measured


def main():
    session = Session(*sys.argv[1:5])
    try:
        menu, picture, status, text = measure(session, 96)
        wide_menu, wide_picture, wide_status, wide_text = measure(session, 144)
        print("menu bar %d -> %d pixels, status line %d -> %d, its text rows %s -> %s" % (
            menu, wide_menu, status, wide_status, text, wide_text))
        if sum(dark(p) for row in picture[32:] for p in row) < 100:
            fail("the font texts drew nothing on the virtual display")
        if wide_picture != picture:
            fail("at 144 dpi the virtual display's picture differs in %d pixels from the one at 96 dpi" % sum(
                a != b for wide, row in zip(wide_picture, picture) for a, b in zip(wide, row)))
        if wide_menu <= menu or wide_status <= status:
            fail("at 144 dpi the menu bar or the status line did not grow")
        if wide_text[0][0] == 0 or wide_text[-1][1] >= wide_status - 1:
            fail("at 144 dpi the status text rows %s touch the edge of its %d-pixel line" % (wide_text, wide_status))
        print("PASS")
    finally:
        set_dpi(session, None)
        session.close()


if __name__ == "__main__":
    main()
