#!/usr/bin/python3
"""The real program on settings files that are not what they should be.

Usage: hostile_files_test.py PROGRAM [RESIDENT_LIMIT_MB]

For each case, copies the program with the example configuration of its
folder into a fresh folder (the program reads DOTVANE.INI from the folder of
its own executable), spoils one file there, and starts it on a private Xvfb
display. A file that cannot be used must be told in one message box within
a few seconds; after OK the main window must appear. Where nothing is to be
told, the main window must appear without a box. Then the program must keep
running through a few refreshes with its resident memory under the limit
(100 MB unless given), end through File > Exit with exit code 0, and leave
every regular configuration file as it was.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import exit_through_file_menu, fail, file_checksums, resident_megabytes, start_xvfb, visible_windows  # noqa: E402

CAPTION = "Dotvane v. 0.3.2 pre13"
BOX = "^Dotvane$"
PATIENCE = 12.0


def write(folder, name, text):
    with open(os.path.join(folder, name), "w") as out:
        out.write(text)


def replace(folder, name):
    path = os.path.join(folder, name)
    if os.path.isdir(path) and not os.path.islink(path):
        shutil.rmtree(path)
    elif os.path.lexists(path):
        os.remove(path)
    return path


def settings_with(folder, screen_file):
    with open(os.path.join(folder, "DOTVANE.INI")) as settings:
        text = settings.read()
    write(folder, "DOTVANE.INI", text.replace("ScreenFile=screens\\default.ini", "ScreenFile=" + screen_file))


def fifo_settings(folder):
    os.mkfifo(replace(folder, "DOTVANE.INI"))


def endless_settings(folder):
    os.symlink("/dev/zero", replace(folder, "DOTVANE.INI"))


def folder_settings(folder):
    os.mkdir(replace(folder, "DOTVANE.INI"))


def huge_settings(folder):
    # 50 MB of 700,000 small sections.
    with open(replace(folder, "DOTVANE.INI"), "w") as out:
        for i in range(700000):
            out.write("[Section%d]\nKey=%s\n" % (i, "v" * 54))


def folder_screen_file(folder):
    settings_with(folder, "screens")


def empty_screen_file(folder):
    settings_with(folder, "")


def endless_textfile(folder):
    write(folder, os.path.join("screens", "default.ini"),
          "[Screen0]\nEnable=1\nLine0=$textfile(/dev/zero,1)$\nLine1=$textfile(screens,1)$\nLine2=still here\n")


# Each case: its name, how it spoils the folder, and whether a box tells it.
CASES = [
    ("DOTVANE.INI is a FIFO", fifo_settings, True),
    ("DOTVANE.INI links to /dev/zero", endless_settings, True),
    ("DOTVANE.INI is a folder", folder_settings, True),
    ("DOTVANE.INI has 50 MB", huge_settings, True),
    ("the screen file is a folder", folder_screen_file, True),
    ("the screen file name is empty", empty_screen_file, False),
    ("a line reads $textfile(/dev/zero,1)$", endless_textfile, False),
]


def prepare_folder(program):
    folder = tempfile.mkdtemp(prefix="dotvane-hostile-")
    source = os.path.dirname(program)
    copy = os.path.join(folder, os.path.basename(program))
    try:
        os.link(program, copy)
    except OSError:
        shutil.copy2(program, copy)
    for name in ("libdlportio.so", "DOTVANE.INI", "LCDPERF.INI"):
        if os.path.exists(os.path.join(source, name)):
            shutil.copy2(os.path.join(source, name), folder)
    for sub in ("screens", "images"):
        shutil.copytree(os.path.join(source, sub), os.path.join(folder, sub))
    return folder, copy


def xdotool(env, *args):
    return subprocess.run(["xdotool"] + list(args), env=env, check=True, capture_output=True, text=True).stdout.strip()


class Watch:
    """The program's process, its largest resident memory seen so far, and waits that watch both."""

    def __init__(self, name, process, limit):
        self.name, self.process, self.limit, self.peak = name, process, limit, 0.0

    def check(self):
        self.peak = max(self.peak, resident_megabytes(self.process.pid))
        if self.peak >= self.limit:
            fail("%s: resident memory reached %.0f MB" % (self.name, self.peak))
        if self.process.poll() is not None:
            fail("%s: the program ended with code %d" % (self.name, self.process.returncode))

    def wait_for(self, env, pattern, what):
        deadline = time.time() + PATIENCE
        while time.time() < deadline:
            self.check()
            windows = visible_windows(env, pattern)
            if windows:
                return windows[0]
            time.sleep(0.2)
        fail("%s: no %s within %.0f s" % (self.name, what, PATIENCE))

    def run_for(self, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            self.check()
            time.sleep(0.2)


def run_case(program, env, limit, case):
    name, spoil, told = case
    folder, copy = prepare_folder(program)
    spoil(folder)
    before = file_checksums(folder)
    dotvane = subprocess.Popen([copy], cwd=folder, env=env, stdin=subprocess.DEVNULL)
    watch = Watch(name, dotvane, limit)
    try:
        if told:
            box = watch.wait_for(env, BOX, "message box")
            xdotool(env, "windowfocus", "--sync", box)
            xdotool(env, "key", "Return")
        window = watch.wait_for(env, CAPTION, "main window")
        # Several refreshes, each of which reads the screen's files anew.
        watch.run_for(3.0)
        if visible_windows(env, BOX):
            fail("%s: a message box is open after start-up" % name)

        code = exit_through_file_menu(env, window, dotvane)
        if code is None:
            fail("%s: File > Exit did not end the program" % name)
        if code != 0:
            fail("%s: exit code %d" % (name, code))
        if file_checksums(folder) != before:
            fail("%s: a configuration file changed during the run" % name)
        print("%s: %s, at most %.0f MB resident" % (name, "told, then ran" if told else "ran", watch.peak))
    finally:
        if dotvane.poll() is None:
            dotvane.kill()
            dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program = os.path.abspath(sys.argv[1])
    limit = float(sys.argv[2]) if len(sys.argv) > 2 else 100.0
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        for case in CASES:
            run_case(program, env, limit, case)
        print("PASS")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main()
