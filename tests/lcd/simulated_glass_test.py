#!/usr/bin/python3
"""The whole program on the simulated port library.

Usage: simulated_glass_test.py PROGRAM GLASS_TEXT SIMPORT_FOLDER

For the T6963C (LCD/Type 0, T6963C/Size 4, 128 x 64) and the KS0108 (Type 1)
in turn: copies the program with the example configuration of its folder
into a fresh folder, sets the type, keeps the rotation on the first screen
(the other screens are disabled, so it stays shown however slowly the
program starts), starts it on a private Xvfb display with
LD_LIBRARY_PATH naming the simulated port library, and compares the text rows
of the emulated glass (the library's PNG picture) with those of the virtual
display in the program's window (read from a screenshot at half size). Both
are read with the built-in 5x7 font by the glass_text tool.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import fail, screenshot, start_xvfb  # noqa: E402

YELLOW = (255, 255, 0)


def virtual_display_pbm(rows, path):
    """Writes the doubled virtual display, halved, as a PBM; False when it is not on the screen."""
    ys = [y for y, row in enumerate(rows) if YELLOW in row]
    if not ys:
        return False
    x0 = min(row.index(YELLOW) for row in rows if YELLOW in row)
    y0 = ys[0]
    lines = ["P1", "128 64"]
    for y in range(64):
        row = rows[y0 + 2 * y]
        lines.append("".join("1" if sum(row[x0 + 2 * x]) < 200 else "0" for x in range(128)))
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
    return True


def text_rows(tool, path, cell_width, columns):
    result = subprocess.run([tool, path, str(cell_width), str(columns), "8"], capture_output=True, text=True)
    if result.returncode != 0:
        return None
    return [row.rstrip() for row in result.stdout.split("\n")[:8]]


def prepare_folder(program, lcd_type):
    folder = tempfile.mkdtemp(prefix="dotvane-glass-")
    source = os.path.dirname(program)
    shutil.copy2(program, folder)
    for sub in ("screens", "images"):
        shutil.copytree(os.path.join(source, sub), os.path.join(folder, sub))
    with open(os.path.join(source, "DOTVANE.INI")) as settings:
        text = settings.read()
    text, count = re.subn(r"(?mi)^Type=.*$", "Type=%d" % lcd_type, text, count=1)
    if count != 1:
        fail("no LCD/Type in the example DOTVANE.INI")
    with open(os.path.join(folder, "DOTVANE.INI"), "w") as settings:
        settings.write(text)
    screens = os.path.join(folder, "screens")
    for name in os.listdir(screens):
        path = os.path.join(screens, name)
        with open(path) as screen_file:
            sections = re.split(r"(?m)^(?=\[)", screen_file.read())
        kept = [section if re.match(r"(?i)\[Screen0\]", section) or not re.match(r"(?i)\[Screen", section)
                else re.sub(r"(?mi)^Enable=.*$", "Enable=0", section) for section in sections]
        with open(path, "w") as screen_file:
            screen_file.write("".join(kept))
    return folder


def run_case(program, tool, simport, lcd_type, env):
    folder = prepare_folder(program, lcd_type)
    glass = os.path.join(folder, "glass.png")
    shown = os.path.join(folder, "shown.pbm")
    case_env = dict(env, LD_LIBRARY_PATH=simport, DOTVANE_SIM_PNG=glass, DOTVANE_SIM_SCALE="1",
                    DOTVANE_SIM_PANEL="t6963c" if lcd_type == 0 else "ks0108",
                    DOTVANE_SIM_WIDTH="128", DOTVANE_SIM_HEIGHT="64", DOTVANE_SIM_FONT_WIDTH="8")
    # The T6963C at Size 4 has 16 cells of 8 pixels; the KS0108 and the
    # virtual display 21 of 6 pixels.
    cell, columns = (8, 16) if lcd_type == 0 else (6, 21)
    dotvane = subprocess.Popen([os.path.join(folder, os.path.basename(program))], cwd=folder, env=case_env)
    try:
        deadline = time.time() + 150
        last = None
        while time.time() < deadline:
            time.sleep(0.5)
            if dotvane.poll() is not None:
                fail("type %d: the program ended with code %d" % (lcd_type, dotvane.returncode))
            if not os.path.exists(glass) or not virtual_display_pbm(screenshot(case_env), shown):
                continue
            on_glass = text_rows(tool, glass, cell, columns)
            on_screen = text_rows(tool, shown, 6, 21)
            last = (on_glass, on_screen)
            if on_glass and on_screen and any(on_screen) and on_glass == [row[:columns] for row in on_screen]:
                print("type %d: %s" % (lcd_type, on_glass))
                return
        fail("type %d: glass and virtual display differ: %s" % (lcd_type, last))
    finally:
        dotvane.kill()
        dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program, tool, simport = (os.path.abspath(arg) for arg in sys.argv[1:4])
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        for lcd_type in (0, 1):
            run_case(program, tool, simport, lcd_type, env)
        print("PASS")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main()
