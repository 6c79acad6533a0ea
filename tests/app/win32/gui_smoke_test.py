#!/usr/bin/python3
"""The Windows program under Wine on a private Xvfb display, on the simulated
port library with an emulated KS0108 module.

Usage: gui_smoke_test.py WINE WINESERVER PREFIX RUNTIME_DIR PROGRAM

RUNTIME_DIR holds the program, the example configuration, simport/ and the
glass_text tool. An unknown option gives a box and exit status 2. Then the
program runs in a folder of its own with screens 0 and 1 of the example
screens (the others disabled, both shown for an hour once shown): the window
appears with the edition's caption; the virtual display shows screen 0 or
1, read back from screenshots; the rotation moves on to screen 1; Ctrl+Z,
Screen > Next by mouse and Ctrl+X change the screen; the emulated glass
shows the rows of the window; the tray icon's menu hides the window
(Minimize) and shows it (Show), and a double click on the icon brings it
back; File > Exit ends the program with status 0, the glass blank and the
port driver's service removed. Started again, the program ends in the same
way with the Windows session (wineboot --end-session). Each step polls with
a deadline.
"""
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import SCREEN0, SCREEN1, YELLOW, MainWindow, Session, fail, matches, screenshot, two_screens, until  # noqa: E402


def caption_of(program):
    return "Dotvane v. 0.3.2 pre13" + ("" if "plain" in program else " NT")


def lit_pixels(png):
    """The dark pixels of a glass picture the simulated library wrote (1-bit palette PNG)."""
    import struct
    import zlib
    data, at, idat = open(png, "rb").read(), 8, b""
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IHDR":
            width, height = struct.unpack(">II", data[at + 8:at + 16])
        if kind == b"IDAT":
            idat += data[at + 8:at + 8 + size]
        at += 12 + size
    raw, stride = zlib.decompress(idat), (width + 7) // 8 + 1
    return sum(bin(byte).count("1") for y in range(height) for byte in raw[y * stride + 1:(y + 1) * stride])


def refuses_an_unknown_option(session, program):
    folder = session.program_folder(program)
    dotvane = session.start(folder, program, "--no-such-option")
    box = until("a box tells of the unknown option", lambda: session.visible("^Dotvane$"), 60)
    session.answer_box(box)
    until("the program ends after the box", lambda: dotvane.poll() is not None)
    if dotvane.returncode != 2:
        fail("an unknown option gave exit status %d, not 2" % dotvane.returncode)


def ends_with_the_session(session, program):
    """The end of the Windows session blanks the glass, removes the driver's service and ends the
    program with status 0."""
    folder = session.program_folder(program, settings=lambda t: re.sub(r"(?m)^Type=.*$", "Type=1", t),
                                    screens=two_screens, simulated_port=True)
    glass = os.path.join(folder, "glass.png")
    dotvane = session.start(folder, program, env={"DOTVANE_SIM_PANEL": "ks0108", "DOTVANE_SIM_PNG": "glass.png",
                                                   "DOTVANE_SIM_SCALE": "1"})
    MainWindow(session, caption_of(program), program)
    until("the glass shows the rows", lambda: os.path.exists(glass) and (
        lambda rows: matches(rows, SCREEN0) or matches(rows, SCREEN1))(session.text_rows(glass)))
    session.wine_status("wineboot", "--end-session")
    until("the program ends with the session", lambda: dotvane.poll() is not None)
    if dotvane.returncode != 0 or lit_pixels(glass) != 0 or session.wine_status("sc", "query", "DLPortIO") == 0:
        fail("at the session's end: exit status %d, %d pixels on the glass, service %s" % (
            dotvane.returncode, lit_pixels(glass),
            "left" if session.wine_status("sc", "query", "DLPortIO") == 0 else "removed"))


def tray_menu(session, program, item):
    tray = until("Wine's tray window shows the icon", lambda: session.visible("^Wine System Tray$"), 10)
    rows = screenshot(session.env, tray)
    icon = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p == YELLOW]
    if not icon:
        fail("no icon in the notification area")
    left, top = session.geometry(tray)
    x, y = left + sum(p[0] for p in icon) // len(icon), top + sum(p[1] for p in icon) // len(icon)
    if item is None:
        session.xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1)
    else:
        session.xdotool("mousemove", x, y, "click", 3)
        session.choose(program, item)


def main():
    wine, wineserver, prefix, runtime_dir, program = sys.argv[1:6]
    session = Session(wine, wineserver, prefix, runtime_dir)
    try:
        started = time.time()
        refuses_an_unknown_option(session, program)

        # A run that was killed leaves the port driver's service behind.
        session.wine_status("sc", "delete", "DLPortIO")
        folder = session.program_folder(program, settings=lambda t: re.sub(r"(?m)^Type=.*$", "Type=1", t),
                                        screens=two_screens, simulated_port=True)
        glass = os.path.join(folder, "glass.png")
        dotvane = session.start(folder, program, env={"DOTVANE_SIM_PANEL": "ks0108", "DOTVANE_SIM_PNG": "glass.png",
                                                       "DOTVANE_SIM_SCALE": "1"})
        window = MainWindow(session, caption_of(program), program)
        shown = until("the virtual display shows screen 0 or 1",
                      lambda: (lambda r: r if matches(r, SCREEN0) or matches(r, SCREEN1) else None)(window.rows()))
        print("window \"%s\", first rows %s" % (caption_of(program), shown[:4]))
        window.wait_rows("the rotation moves on to screen 1", SCREEN1)
        until("the glass shows the rows of screen 1",
              lambda: os.path.exists(glass) and matches(session.text_rows(glass), SCREEN1))

        window.key("ctrl+z")
        window.wait_rows("Ctrl+Z shows screen 0", SCREEN0)
        window.menu(1, 0)
        window.wait_rows("Screen > Next by mouse shows screen 1", SCREEN1)
        until("the status line says so", window.status_written)
        window.key("ctrl+z")
        window.wait_rows("Ctrl+Z shows screen 0 again", SCREEN0)
        window.key("ctrl+x")
        window.wait_rows("Ctrl+X shows screen 1", SCREEN1)
        until("the glass shows screen 1 again", lambda: matches(session.text_rows(glass), SCREEN1))

        for way_back, item in (("the pop-up menu's Show", 3), ("a double click on the icon", None)):
            tray_menu(session, program, 4)
            until("the pop-up menu's Minimize hides the window", lambda: not session.mapped(window.id))
            tray_menu(session, program, item)
            until(way_back + " shows the window", lambda: session.mapped(window.id))
            window.wait_rows("the window shows screen 1 again", SCREEN1)

        window.menu(0, 1)
        until("File > Exit ends the program", lambda: dotvane.poll() is not None)
        if dotvane.returncode != 0:
            fail("File > Exit gave exit status %d" % dotvane.returncode)
        if lit_pixels(glass) != 0:
            fail("the glass is not blank after File > Exit")
        status = session.wine_status("sc", "query", "DLPortIO")
        if status == 0:
            fail("the port driver's service is still there after File > Exit")
        ends_with_the_session(session, program)
        print("PASS in %.1f s" % (time.time() - started))
    finally:
        session.close()


if __name__ == "__main__":
    main()
