#!/usr/bin/python3
"""Smoke test of the real program under Xvfb.

Starts the given executable in its own folder (where the example
configuration lies) on a private Xvfb display, checks on screenshots that the
doubled yellow virtual display and the status line appear, drives Next,
Previous and Pause through their shortcuts, and ends the program through
File > Exit, which must leave exit code 0. The configuration files in the
program's folder are the same, byte for byte, after the run as before it.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import exit_through_file_menu, fail, file_checksums, screenshot, start_xvfb  # noqa: E402

YELLOW = (255, 255, 0)
BTNFACE = (212, 208, 200)
CAPTION = "Dotvane v. 0.3.2 pre13"


def bounding_box(rows, colour):
    xs, ys = [], []
    for y, row in enumerate(rows):
        hits = [x for x, p in enumerate(row) if p == colour]
        if hits:
            xs += [hits[0], hits[-1]]
            ys.append(y)
    if not ys:
        return None
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def region(rows, box):
    x0, y0, x1, y1 = box
    return [row[x0:x1] for row in rows[y0:y1]]


def dark_pixels(rows, box):
    return sum(1 for row in region(rows, box) for p in row if sum(p) < 200)


def xdotool(env, *args):
    return subprocess.run(["xdotool"] + list(args), env=env, check=True, capture_output=True, text=True).stdout.strip()


def poll(what, deadline=20.0):
    """Returns what() as soon as it is true, or None when the deadline ran out."""
    end = time.monotonic() + deadline
    while True:
        result = what()
        if result or time.monotonic() > end:
            return result or None
        time.sleep(0.1)


def configuration_checksums(folder):
    """Checksums of DOTVANE.INI, LCDPERF.INI and everything in screens/ and images/."""
    sums = {name: digest for name, digest in file_checksums(folder).items()
            if name in ("DOTVANE.INI", "LCDPERF.INI") or name.startswith(("screens" + os.sep, "images" + os.sep))}
    if "DOTVANE.INI" not in sums or not any(name.startswith("screens") for name in sums):
        fail("no example configuration beside the program")
    return sums


def main():
    program = os.path.abspath(sys.argv[1])
    before = configuration_checksums(os.path.dirname(program))
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    dotvane = None
    try:
        dotvane = subprocess.Popen([program], cwd=os.path.dirname(program), env=env)
        window = xdotool(env, "search", "--sync", "--onlyvisible", "--name", CAPTION).splitlines()[0]

        # The first refresh comes after about one second.
        def refreshed():
            rows = screenshot(env)
            found = bounding_box(rows, YELLOW)
            return (rows, found) if found is not None and dark_pixels(rows, found) > 0 else None

        shown = poll(refreshed)
        if shown is None:
            fail("no yellow virtual display with text on the screen")
        first, box = shown
        x0, y0, x1, y1 = box
        if (x1 - x0, y1 - y0) != (256, 128):
            fail("virtual display is %dx%d, not 256x128" % (x1 - x0, y1 - y0))
        status = (x0, y1 + 2, x1, y1 + 21)
        if not any(p == BTNFACE for row in region(first, status) for p in row):
            fail("no status line below the virtual display")
        if dark_pixels(first, status) != 0:
            fail("status line not empty at start")

        # Pause first, so that the rotation does not move on meanwhile; the
        # status line says "Next - Screen: 1" once Next has come.
        xdotool(env, "windowfocus", "--sync", window)
        xdotool(env, "key", "ctrl+p")
        xdotool(env, "key", "ctrl+x")
        after_next = poll(lambda: (lambda rows: rows if dark_pixels(rows, status) > 0 else None)(screenshot(env)))
        if after_next is None:
            fail("Screen > Next wrote nothing on the status line")
        if region(after_next, box) == region(first, box):
            fail("Screen > Next did not change the picture")

        xdotool(env, "key", "ctrl+z")
        if poll(lambda: region(screenshot(env), box) == region(first, box)) is None:
            fail("Screen > Previous did not bring the first screen back")

        # The rotation's period is five seconds: six without a change show
        # that Pause holds it.
        time.sleep(6.0)
        if region(screenshot(env), box) != region(first, box):
            fail("Screen > Pause did not stop the rotation")

        code = exit_through_file_menu(env, window, dotvane)
        if code is None:
            fail("File > Exit did not end the program")
        if code != 0:
            fail("exit code %d" % code)
        if configuration_checksums(os.path.dirname(program)) != before:
            fail("a configuration file changed during the run")
        print("PASS")
    finally:
        if dotvane is not None and dotvane.poll() is None:
            dotvane.kill()
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
