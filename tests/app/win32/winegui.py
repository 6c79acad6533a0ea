"""Helpers for the tests that run the Windows programs under Wine on a private
X display: the session, waits with deadlines, and reading the window, its
menus and the virtual display from screenshots.

Without a window manager Wine draws no frame: a program's X window is its
menu bar and client area, and keys go to the window under the pointer. Every
position clicked is found in the pictures of the windows themselves.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from xsession import fail, screenshot, start_xvfb  # noqa: E402,F401

YELLOW = (255, 255, 0)
FACE = (212, 208, 200)
# The text rows of the example screens that the tests show: screen 0, and
# screen 1, whose second line runs on into its third row (not compared).
SCREEN0 = ["Dotvane", "", "Mail: 0", "Ext. IP:", "", "", "", ""]
SCREEN1 = ["Screen two", "A line long enough to", None, "", "", "", "", ""]


def two_screens(text):
    """Screens 0 and 1 enabled, each kept for an hour; the others off."""
    def edit(section):
        number = re.match(r"\[Screen(\d+)\]", section)
        if number and int(number.group(1)) > 1:
            return re.sub(r"(?m)^Enable=.*$", "Enable=0", section)
        if number:
            return re.sub(r"(?m)^Interval=.*$", "Interval=3600000", section)
        return section
    return "".join(edit(section) for section in re.split(r"(?m)^(?=\[)", text))


def until(what, check, seconds=30, explain=None):
    """Polls check() until it gives a true value, which it returns; fails after the deadline, with
    what explain() says."""
    deadline = time.time() + seconds
    while True:
        value = check()
        if value:
            return value
        if time.time() > deadline:
            fail("%s (not within %d s)%s" % (what, seconds, "; " + explain() if explain else ""))
        time.sleep(0.1)


def matches(rows, expected):
    return rows is not None and all(e is None or r == e for r, e in zip(rows, expected))


def dark(pixel):
    return sum(pixel) < 200


def runs(flags, gap=1):
    """(first, last) of each run of true flags; runs closer than `gap` false flags join."""
    found = []
    for i, flag in enumerate(flags):
        if flag:
            if found and i - found[-1][1] <= gap:
                found[-1] = (found[-1][0], i)
            else:
                found.append((i, i))
    return found


class Session:
    """A private Xvfb display and a Wine prefix on it; close() ends both."""

    def __init__(self, wine, wineserver, prefix, runtime_dir):
        self.wine, self.wineserver, self.runtime_dir = wine, wineserver, runtime_dir
        self.xvfb, display = start_xvfb()
        self.env = dict(os.environ, DISPLAY=display, WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.folders = []

    def close(self):
        subprocess.run([self.wineserver, "-k"], env=self.env, capture_output=True)
        subprocess.run([self.wineserver, "-w"], env=self.env, capture_output=True)
        self.xvfb.terminate()
        self.xvfb.wait()
        for folder in self.folders:
            shutil.rmtree(folder, ignore_errors=True)

    def program_folder(self, program, settings=None, screens=None, simulated_port=False):
        """A fresh folder with the program, the example configuration and, if asked, the
        simulated port library and driver; settings and screens edit the files' text."""
        folder = tempfile.mkdtemp(prefix="dotvane-win-")
        self.folders.append(folder)
        shutil.copy2(os.path.join(self.runtime_dir, program), folder)
        for name in ("DOTVANE.INI", "LCDPERF.INI"):
            shutil.copy2(os.path.join(self.runtime_dir, name), folder)
        for sub in ("screens", "images"):
            shutil.copytree(os.path.join(self.runtime_dir, sub), os.path.join(folder, sub))
        if simulated_port:
            for name in ("DLPortIO.dll", "DLPortIO.SYS"):
                shutil.copy2(os.path.join(self.runtime_dir, "simport", name), folder)
        for name, edit in (("DOTVANE.INI", settings), (os.path.join("screens", "default.ini"), screens)):
            if edit:
                path = os.path.join(folder, name)
                with open(path, newline="") as f:
                    text = f.read()
                with open(path, "w", newline="") as f:
                    f.write(edit(text))
        return folder

    def start(self, folder, program, *arguments, env=None):
        return subprocess.Popen([self.wine, os.path.join(folder, program)] + list(arguments), cwd=folder,
                                env=dict(self.env, **(env or {})), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def text_rows(self, picture):
        """The eight text rows of a picture of a display (6-pixel cells, 21 columns), read with the
        built-in 5x7 font by the glass_text tool; None when it cannot read the picture."""
        status, out = self.tool("glass_text.exe", "Z:" + picture, "6", "21", "8")
        return [row.rstrip() for row in out.split("\n")[:8]] if status == 0 else None

    def tool(self, *command):
        """Runs a console program of the build under Wine; its output."""
        result = subprocess.run([self.wine, os.path.join(self.runtime_dir, command[0])] + list(command[1:]),
                                env=self.env, capture_output=True, text=True)
        return result.returncode, result.stdout.replace("\r", "")

    def wine_status(self, *command):
        """Runs a program of Wine's own (sc, reg) in the prefix; its exit status."""
        return subprocess.run([self.wine] + list(command), env=self.env, capture_output=True).returncode

    def answer_box(self, box):
        """Presses Return on a message box, with the pointer over it, until it is gone."""
        left, top = self.geometry(box)
        self.xdotool("mousemove", left + 20, top + 20)

        def answered():
            self.xdotool("key", "Return")
            return not self.mapped(box)
        until("the box closes on Return", answered, 20)

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + [str(a) for a in arguments], env=self.env, capture_output=True,
                              text=True).stdout.strip()

    def visible(self, pattern):
        found = self.xdotool("search", "--onlyvisible", "--name", pattern).split()
        return found[0] if found else None

    def windows(self):
        """The names of the visible windows, for messages."""
        found = self.xdotool("search", "--onlyvisible", "--name", ".").split()
        return "visible: %s" % [self.xdotool("getwindowname", window) for window in found]

    def mapped(self, window):
        return "IsViewable" in subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True,
                                              text=True).stdout

    def geometry(self, window):
        values = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"])

    def popup(self, program):
        """The open pop-up menu of the program, an unnamed window: (id, x, y)."""
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True, text=True).stdout
        for line in tree.splitlines():
            match = re.search(r'(0x[0-9a-f]+) \(has no name\): \("%s"' % re.escape(program), line)
            place = re.search(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", line)
            if match and place and place.group(1) != "1" and self.mapped(match.group(1)):
                return match.group(1), int(place.group(3)), int(place.group(4))
        return None

    def choose(self, program, item):
        """Clicks the item-th line of text of the program's open pop-up menu."""
        menu, x, y = until("a pop-up menu of %s opens" % program, lambda: self.popup(program), 10)
        rows = screenshot(self.env, menu)
        lines = runs([any(dark(p) for p in row) for row in rows], 2)
        if item >= len(lines):
            fail("the pop-up menu has %d lines, not %d" % (len(lines), item + 1))
        self.xdotool("mousemove", x + 20, y + (lines[item][0] + lines[item][1]) // 2, "click", 1)


class MainWindow:
    """The program's main window, found by its caption."""

    def __init__(self, session, caption, program, seconds=60):
        self.session, self.program = session, program
        self.id = until("the window \"%s\" appears" % caption,
                        lambda: session.visible("^%s$" % re.escape(caption)), seconds, session.windows)

    def client(self):
        """The picture's top-left corner in the window (the client's origin), once it shows."""
        rows = screenshot(self.session.env, self.id)
        ys = [y for y, row in enumerate(rows) if YELLOW in row]
        if not ys:
            return None
        return min(row.index(YELLOW) for row in rows if YELLOW in row), ys[0], rows

    def rows(self):
        """The text rows of the virtual display, read with the built-in font; None before it shows."""
        found = self.client()
        if found is None:
            return None
        x0, y0, shot = found
        lines = ["P1", "128 64"]
        for y in range(64):
            row = shot[y0 + 2 * y]
            lines.append("".join("1" if dark(row[x0 + 2 * x]) else "0" for x in range(128)))
        pbm = os.path.join(self.session.folders[-1], "shown.pbm")
        with open(pbm, "w") as out:
            out.write("\n".join(lines) + "\n")
        return self.session.text_rows(pbm)

    def wait_rows(self, what, expected, seconds=30):
        until(what, lambda: matches(self.rows(), expected), seconds)

    def status_written(self):
        """Whether the status line below the picture shows text, and the window's face around it."""
        x0, y0, shot = until("the window shows its picture", self.client, 30)
        strip = [row[x0:x0 + 257] for row in shot[y0 + 130:y0 + 149]]
        return any(dark(p) for row in strip for p in row) and strip[0][256] == FACE

    def menu(self, menu, item):
        """Clicks the item-th entry of the menu-th menu of the menu bar."""
        x0, y0, shot = until("the window shows its picture", self.client, 30)
        words = runs([any(dark(shot[y][x]) for y in range(y0)) for x in range(len(shot[0]))], 5)
        if len(words) != 3:
            fail("the menu bar shows %d words, not File, Screen and Help" % len(words))
        left, top = self.session.geometry(self.id)
        self.session.xdotool("mousemove", left + sum(words[menu]) // 2, top + y0 // 2, "click", 1)
        self.session.choose(self.program, item)

    def key(self, keys):
        """Presses keys with the pointer over the client area."""
        x0, y0, _ = until("the window shows its picture", self.client, 30)
        left, top = self.session.geometry(self.id)
        self.session.xdotool("mousemove", left + x0 + 128, top + y0 + 64, "key", keys)
