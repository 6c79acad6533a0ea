#!/usr/bin/python3
"""The Windows program under Wine on a private Xvfb display.

Usage: gui_smoke_test.py WINE WINESERVER PREFIX RUNTIME_DIR PROGRAM

RUNTIME_DIR holds the program, the example configuration, simport/ and
glass_text.exe. An unknown option gives a box and exit status 2. Then the
program runs in a folder of its own with example screens 0 and 1, on the
simulated port library with an emulated KS0108: the window appears with the
edition's caption; its virtual display, read from screenshots, and the glass
show the rows of the screens; the rotation, Ctrl+Z, Screen > Next by mouse
and Ctrl+X change the screen; the tray icon's menu hides the window
(Minimize) and shows it (Show), as a double click on the icon does; File >
Exit ends the program with status 0, the glass blank and the port driver's
service removed. Started again, it ends so with the Windows session.
"""
import os
import re
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import (SCREEN0, SCREEN1, SIMULATED_KS0108, YELLOW, MainWindow, Session, fail, matches,  # noqa: E402
                     screenshot, two_screens, until)


def lit_pixels(png):
    """The dark pixels of a glass picture of the simulated library (a 1-bit PNG)."""
    data, at, idat = open(png, "rb").read(), 8, b""
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        width, height = struct.unpack(">II", data[at + 8:at + 16]) if kind == b"IHDR" else (width, height)
        idat += data[at + 8:at + 8 + size] if kind == b"IDAT" else b""
        at += 12 + size
    raw, stride = zlib.decompress(idat), (width + 7) // 8 + 1
    return sum(bin(byte).count("1") for y in range(height) for byte in raw[y * stride + 1:(y + 1) * stride])


def start_on_the_simulated_port(session, program):
    folder = session.folder(program, settings=lambda text: re.sub(r"(?m)^Type=.*$", "Type=1", text),
                            screens=two_screens, simulated_port=True)
    # A run that was killed leaves the port driver's service behind.
    session.wine_status("sc", "delete", "DLPortIO")
    return session.start(folder, program, env=SIMULATED_KS0108), os.path.join(folder, "glass.png")


def check_the_end(what, process, glass, session):
    until("%s ends the program" % what, lambda: process.poll() is not None)
    service = session.wine_status("sc", "query", "DLPortIO") == 0
    if process.returncode != 0 or lit_pixels(glass) != 0 or service:
        fail("after %s: exit status %d, %d pixels on the glass, the driver's service %s" % (
            what, process.returncode, lit_pixels(glass), "left" if service else "removed"))


def tray_menu(session, program, item):
    """Opens the tray icon's menu and takes its item-th entry; None double-clicks the icon."""
    tray = until("Wine's tray window shows", lambda: session.visible("^Wine System Tray$"), 10)
    icon = [(x, y) for y, row in enumerate(screenshot(session.env, tray)) for x, p in enumerate(row) if p == YELLOW]
    if not icon:
        fail("no icon in the notification area")
    left, top = session.place(tray)
    session.xdotool("mousemove", left + sum(p[0] for p in icon) // len(icon), top + sum(p[1] for p in icon) // len(icon))
    if item is None:
        session.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    else:
        session.xdotool("click", 3)
        session.choose(program, item)


def main():
    session = Session(*sys.argv[1:5])
    program = sys.argv[5]
    caption = "Dotvane v. 0.3.2 pre13" + ("" if "plain" in program else " NT")
    try:
        refused = session.start(session.folder(program), program, "--no-such-option")
        session.answer_box(until("a box tells of the unknown option", lambda: session.visible("^Dotvane$"), 60))
        until("the program ends after the box", lambda: refused.poll() is not None)
        if refused.returncode != 2:
            fail("an unknown option gave exit status %d, not 2" % refused.returncode)

        dotvane, glass = start_on_the_simulated_port(session, program)
        window = MainWindow(session, caption, program)
        print("%s: first rows %s" % (caption, window.wait_rows("the window shows a screen", SCREEN0, SCREEN1)[:4]))
        window.wait_rows("the rotation moves on to screen 1", SCREEN1)
        until("the glass shows screen 1", lambda: os.path.exists(glass) and matches(session.text_rows(glass), SCREEN1))
        for keys, expected in (("ctrl+z", SCREEN0), (None, SCREEN1), ("ctrl+z", SCREEN0), ("ctrl+x", SCREEN1)):
            window.key(keys) if keys else window.menu(1, 0)
            window.wait_rows("%s changes the screen" % (keys or "Screen > Next by mouse"), expected)
        until("the status line tells the screen", window.status_written)
        until("the glass follows", lambda: matches(session.text_rows(glass), SCREEN1))
        for way_back, item in (("the pop-up menu's Show", 3), ("a double click on the icon", None)):
            tray_menu(session, program, 4)
            until("the pop-up menu's Minimize hides the window", lambda: not session.mapped(window.id))
            tray_menu(session, program, item)
            until(way_back + " shows the window", lambda: session.mapped(window.id))
            window.wait_rows("the window shows screen 1 again", SCREEN1)
        window.menu(0, 1)
        check_the_end("File > Exit", dotvane, glass, session)

        dotvane, glass = start_on_the_simulated_port(session, program)
        MainWindow(session, caption, program)
        until("the glass shows a screen", lambda: os.path.exists(glass) and matches(
            session.text_rows(glass), SCREEN0, SCREEN1))
        session.wine_status("wineboot", "--end-session")
        check_the_end("the end of the session", dotvane, glass, session)
        print("PASS")
    finally:
        session.close()


if __name__ == "__main__":
    main()
