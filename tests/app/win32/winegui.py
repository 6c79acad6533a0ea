"""Helpers for the tests that run the Windows programs under Wine on a private X
display. Without a window manager Wine draws no frame (a program's X window is
its menu bar and client area) and keys go to the window under the pointer;
every place clicked is found in screenshots of the windows themselves."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from xsession import fail, screenshot, start_xvfb  # noqa: E402,F401

NO_HOST_FONTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "win32", "NoHostFonts.conf")
YELLOW, FACE = (255, 255, 0), (212, 208, 200)
# The rows of example screens 0 and 1; the second line of screen 1 runs on
# into its third row, seven pixels in (not read).
SCREEN0 = ["Dotvane", "", "Mail: 0", "Ext. IP:", "", "", "", ""]
SCREEN1 = ["Screen two", "A line long enough to", None, "", "", "", "", ""]
SIMULATED_KS0108 = {"DOTVANE_SIM_PANEL": "ks0108", "DOTVANE_SIM_PNG": "glass.png", "DOTVANE_SIM_SCALE": "1"}


def two_screens(text):
    """The screen file with screens 0 and 1 alone, each shown for an hour."""
    def edit(section):
        number = re.match(r"\[Screen(\d+)\]", section)
        key, value = ("Enable", "0") if number and int(number.group(1)) > 1 else ("Interval", "3600000")
        return re.sub(r"(?m)^%s=.*$" % key, key + "=" + value, section) if number else section
    return "".join(edit(section) for section in re.split(r"(?m)^(?=\[)", text))


def until(what, check, seconds=30, explain=None):
    """Polls check() until it gives a true value, which it returns; fails after the deadline."""
    deadline = time.time() + seconds
    while not (value := check()):
        if time.time() > deadline:
            fail("%s (not within %d s)%s" % (what, seconds, "; " + explain() if explain else ""))
        time.sleep(0.1)
    return value


def matches(rows, *expected):
    """Whether the rows are those of one of the expected screens (None: not read)."""
    return rows is not None and any(all(e is None or r == e for r, e in zip(rows, x)) for x in expected)


def dark(pixel):
    return sum(pixel) < 200


def runs(flags, gap):
    """(first, last) of each run of true flags, runs at most `gap` apart joined."""
    found = []
    for i, flag in enumerate(flags):
        if flag and found and i - found[-1][1] <= gap:
            found[-1] = (found[-1][0], i)
        elif flag:
            found.append((i, i))
    return found


class Session:
    """A private Xvfb display, a Wine prefix on it and the programs' folders; close() ends all."""

    def __init__(self, wine, wineserver, prefix, runtime_dir):
        self.wine, self.wineserver, self.runtime_dir, self.folders = wine, wineserver, runtime_dir, []
        self.xvfb, display = start_xvfb()
        # Wine sees the fonts of the prefix alone, never the host's.
        self.env = dict(os.environ, DISPLAY=display, WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", FONTCONFIG_FILE=NO_HOST_FONTS)

    def close(self):
        for flag in ("-k", "-w"):
            subprocess.run([self.wineserver, flag], env=self.env, capture_output=True)
        self.xvfb.terminate()
        self.xvfb.wait()
        for folder in self.folders:
            shutil.rmtree(folder, ignore_errors=True)

    def folder(self, program, settings=None, screens=None, simulated_port=False):
        """A fresh folder with the program, the example configuration (settings and screens edit
        its text) and, if asked, the simulated port library and driver."""
        folder = tempfile.mkdtemp(prefix="dotvane-win-")
        self.folders.append(folder)
        shutil.copy2(os.path.join(self.runtime_dir, program), folder)
        for name in ["DOTVANE.INI", "LCDPERF.INI"] + ["simport/DLPortIO.dll", "simport/DLPortIO.SYS"] * simulated_port:
            shutil.copy2(os.path.join(self.runtime_dir, name), folder)
        for sub in ("screens", "images"):
            shutil.copytree(os.path.join(self.runtime_dir, sub), os.path.join(folder, sub))
        for name, edit in (("DOTVANE.INI", settings), ("screens/default.ini", screens)):
            if edit:
                with open(os.path.join(folder, name), newline="") as file:
                    text = edit(file.read())
                with open(os.path.join(folder, name), "w", newline="") as file:
                    file.write(text)
        return folder

    def start(self, folder, program, *arguments, env=None):
        return subprocess.Popen([self.wine, os.path.join(folder, program)] + list(arguments), cwd=folder,
                                env=dict(self.env, **(env or {})), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def wine_status(self, *command):
        """The exit status of a program of Wine's own (sc, wineboot) run in the prefix."""
        return subprocess.run([self.wine] + list(command), env=self.env, capture_output=True).returncode

    def text_rows(self, picture):
        """The eight text rows of a picture of a display (6-pixel cells, 21 columns), read with the
        built-in 5x7 font by the build's glass_text tool; None when it cannot read it."""
        result = subprocess.run([self.wine, os.path.join(self.runtime_dir, "glass_text.exe"), "Z:" + picture, "6",
                                 "21", "8"], env=self.env, capture_output=True, text=True)
        return [r.rstrip() for r in result.stdout.replace("\r", "").split("\n")[:8]] if not result.returncode else None

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + [str(a) for a in arguments], env=self.env, capture_output=True,
                              text=True).stdout.strip()

    def visible(self, pattern):
        return (self.xdotool("search", "--onlyvisible", "--name", pattern).split() or [None])[0]

    def windows(self):
        found = self.xdotool("search", "--onlyvisible", "--name", ".").split()
        return "visible: %s" % [self.xdotool("getwindowname", window) for window in found]

    def mapped(self, window):
        return "IsViewable" in subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True,
                                              text=True).stdout

    def place(self, window):
        values = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"])

    def answer_box(self, box):
        """Presses Return on a message box, with the pointer over it, until it is gone."""
        self.xdotool("mousemove", *[v + 20 for v in self.place(box)])

        def answered():
            self.xdotool("key", "Return")
            return not self.mapped(box)
        until("the box closes on Return", answered, 20)

    def choose(self, program, item):
        """Clicks the item-th line of text of the program's open pop-up menu (an unnamed window)."""
        def popup():
            tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True, text=True)
            for menu, width, x, y in re.findall(r'(0x[0-9a-f]+) \(has no name\): \("%s".*?(\d+)x\d+\+(-?\d+)\+(-?\d+)'
                                                % re.escape(program), tree.stdout):
                if width != "1" and self.mapped(menu):
                    return menu, int(x), int(y)
        menu, x, y = until("a pop-up menu of %s opens" % program, popup, 10)
        lines = runs([any(dark(p) for p in row) for row in screenshot(self.env, menu)], 2)
        if item >= len(lines):
            fail("the pop-up menu has %d lines of text, not %d" % (len(lines), item + 1))
        self.xdotool("mousemove", x + 20, y + sum(lines[item]) // 2, "click", 1)


class MainWindow:
    """The program's main window, found by its caption."""

    def __init__(self, session, caption, program):
        self.session, self.program = session, program
        self.id = until('the window "%s" appears' % caption, lambda: session.visible("^%s$" % re.escape(caption)),
                        60, session.windows)

    def client(self):
        """The client's origin in the window, found as the picture's corner, and the screenshot."""
        shot = screenshot(self.session.env, self.id)
        ys = [y for y, row in enumerate(shot) if YELLOW in row]
        return ys and (min(row.index(YELLOW) for row in shot if YELLOW in row), ys[0], shot)

    def rows(self):
        """The text rows of the virtual display, halved from the screenshot; None before it shows."""
        if not (found := self.client()):
            return None
        x0, y0, shot = found
        pbm = os.path.join(self.session.folders[-1], "shown.pbm")
        with open(pbm, "w") as out:
            out.write("P1\n128 64\n" + "\n".join("".join("01"[dark(shot[y0 + 2 * y][x0 + 2 * x])] for x in range(128))
                                                 for y in range(64)) + "\n")
        return self.session.text_rows(pbm)

    def wait_rows(self, what, *expected):
        return until(what, lambda: (lambda rows: matches(rows, *expected) and rows)(self.rows()))

    def status_written(self):
        """Whether the status line below the picture shows text, on the window's face."""
        x0, y0, shot = until("the window shows its picture", self.client)
        strip = [row[x0:x0 + 257] for row in shot[y0 + 130:y0 + 149]]
        return any(dark(p) for row in strip for p in row) and strip[0][256] == FACE

    def menu(self, menu, item):
        """Clicks the item-th entry of the menu-th menu of the menu bar."""
        x0, y0, shot = until("the window shows its picture", self.client)
        words = runs([any(dark(shot[y][x]) for y in range(y0)) for x in range(len(shot[0]))], 5)
        if len(words) != 3:
            fail("the menu bar shows %d words, not File, Screen and Help" % len(words))
        left, top = self.session.place(self.id)
        self.session.xdotool("mousemove", left + sum(words[menu]) // 2, top + y0 // 2, "click", 1)
        self.session.choose(self.program, item)

    def key(self, keys):
        """Presses keys with the pointer over the picture."""
        x0, y0, _ = until("the window shows its picture", self.client)
        left, top = self.session.place(self.id)
        self.session.xdotool("mousemove", left + x0 + 128, top + y0 + 64, "key", keys)

    def exit(self, process):
        """File > Exit; fails unless the program then ends with status 0."""
        self.menu(0, 1)
        until("File > Exit ends %s" % self.program, lambda: process.poll() is not None)
        if process.returncode != 0:
            fail("File > Exit: exit status %d" % process.returncode)
