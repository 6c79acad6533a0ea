#!/usr/bin/python3
"""The real programs on the command line, without a window, and ended by
SIGTERM, on an emulated T6963C module.

Usage: stop_signals_test.py PROGRAM PLAIN_PROGRAM GLASS_TEXT SIMPORT_FOLDER

First the command line: --help and --version answer on standard output with
exit status 0, an unknown option gets one line on standard error and exit
status 2, and so does a start without --headless where no display server
can be reached: with none named at all, and with a DISPLAY nobody serves
(then after Qt's own reasons, but without Qt's abort).

Then each program runs with --headless, with neither DISPLAY nor
WAYLAND_DISPLAY, on the simulated port library, from a fresh folder with a
screen of two fixed rows and an icon whose file is missing. The emulated
glass must show the two rows; the message box about the icon must appear on
standard error once, as a time-stamped line, however many refreshes draw
the icon; SIGTERM must end the program with exit status 0; and the log of
the bytes the module took must end with the blank sequence of the T6963C
(Size 4: the 256 text cells and the 2048 graphic bytes from 0x0300, each
cleared with a data byte 0 and the write-and-increment command), leaving the
glass empty.

Last, the program with its window does the same on a private Xvfb display
(without the missing icon, whose box would wait for a click).
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import fail, start_xvfb  # noqa: E402

NO_DISPLAY = "Dotvane: no display server can be reached (DISPLAY, WAYLAND_DISPLAY); use --headless to run without a window"
ROWS = ["HEADLESS", "ROW TWO"]
ICON_MESSAGE = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d Could not load or display icon images\\missing\.bmp$")

SETTINGS = """[LCD]
Type=0
TextColumns=16
TextRows=8
XPixels=128
YPixels=64

[T6963C]
Size=4
Wiring=0
CheckBusyFlag=0
"""


def blank_sequence():
    """The bytes the T6963C takes when it is blanked, at Size 4."""
    def cleared(low, high, count):
        return ["D %02X" % low, "D %02X" % high, "C 24"] + ["D 00", "C C0"] * count
    return cleared(0x00, 0x00, 256) + cleared(0x00, 0x03, 2048)


def without_display(env):
    env = dict(env)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env


def run(command, env, timeout=60):
    try:
        return subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        fail("%s did not end" % command)


def check_command_line(program, caption):
    env = without_display(os.environ)
    name = os.path.basename(program)
    result = run([program, "--help"], env)
    if result.returncode != 0 or not result.stdout.startswith("Usage: %s [--headless]\n" % name):
        fail("--help: status %d, %r" % (result.returncode, result.stdout[:80]))
    for option in ("--headless", "--help", "--version"):
        if "  " + option + "  " not in result.stdout:
            fail("--help does not list %s" % option)
    result = run([program, "--version"], env)
    if result.returncode != 0 or result.stdout != caption + "\n":
        fail("--version: status %d, %r" % (result.returncode, result.stdout))
    result = run([program, "--bogus"], env)
    if result.returncode != 2 or result.stderr != '%s: unknown option "--bogus" (see %s --help)\n' % (name, name):
        fail("an unknown option: status %d, %r" % (result.returncode, result.stderr))

    result = run([program], env)
    if result.returncode != 2 or result.stderr != NO_DISPLAY + "\n":
        fail("no display named: status %d, %r" % (result.returncode, result.stderr))
    unserved = next(n for n in range(90, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    result = run([program], dict(env, DISPLAY=":%d" % unserved))
    if result.returncode != 2 or not result.stderr.endswith("\n" + NO_DISPLAY + "\n"):
        fail("a display nobody serves: status %d, %r" % (result.returncode, result.stderr))
    print("%s: command line as expected" % name)


def prepare_folder(program, missing_icon):
    folder = tempfile.mkdtemp(prefix="dotvane-stop-")
    shutil.copy2(program, folder)
    with open(os.path.join(folder, "DOTVANE.INI"), "w") as settings:
        settings.write(SETTINGS)
    os.mkdir(os.path.join(folder, "screens"))
    os.mkdir(os.path.join(folder, "images"))
    screen = "[Screen0]\nEnable=1\nLine0=%s\nLine1=%s\n" % tuple(ROWS)
    if missing_icon:
        screen += 'Icon0="images\\missing.bmp(0,40)"\n'
    with open(os.path.join(folder, "screens", "default.ini"), "w") as screens:
        screens.write(screen)
    return folder


def glass_rows(tool, glass):
    if not os.path.exists(glass):
        return None
    result = subprocess.run([tool, glass, "8", "16", "8"], capture_output=True, text=True)
    if result.returncode != 0:
        return None
    return [row.rstrip() for row in result.stdout.split("\n")[:8]]


def run_case(name, program, tool, env, arguments, missing_icon):
    folder = prepare_folder(program, missing_icon)
    glass = os.path.join(folder, "glass.png")
    log = os.path.join(folder, "bytes.log")
    errors = os.path.join(folder, "stderr.txt")
    env = dict(env, DOTVANE_SIM_PANEL="t6963c", DOTVANE_SIM_WIDTH="128", DOTVANE_SIM_HEIGHT="64",
               DOTVANE_SIM_FONT_WIDTH="8", DOTVANE_SIM_WIRING="0", DOTVANE_SIM_PNG=glass, DOTVANE_SIM_SCALE="1",
               DOTVANE_SIM_LOG=log)
    command = [os.path.join(folder, os.path.basename(program))] + arguments
    with open(errors, "w") as error_file:
        dotvane = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=error_file)
    try:
        deadline = time.time() + 150
        rows = None
        while time.time() < deadline:
            time.sleep(0.5)
            if dotvane.poll() is not None:
                fail("%s: the program ended with status %d: %s" % (name, dotvane.returncode, read(errors)))
            rows = glass_rows(tool, glass)
            if rows and rows[:3] == ROWS + [""]:
                break
        else:
            fail("%s: the glass does not show the screen: %s" % (name, rows))
        print("%s: the glass shows %s" % (name, rows[:2]))

        if missing_icon:
            # A few refreshes, each of which draws the icon again.
            time.sleep(3.5)
            lines = read(errors).splitlines()
            told = [line for line in lines if ICON_MESSAGE.match(line)]
            if len(told) != 1:
                fail("%s: the icon's message is not on standard error once: %s" % (name, lines))
            print("%s: %s" % (name, told[0]))

        dotvane.send_signal(signal.SIGTERM)
        try:
            status = dotvane.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("%s: SIGTERM did not end the program" % name)
        if status != 0:
            fail("%s: exit status %d after SIGTERM: %s" % (name, status, read(errors)))

        taken = read(log).splitlines()
        blank = blank_sequence()
        if len(taken) <= len(blank) or taken[-len(blank):] != blank:
            fail("%s: the log does not end with the blank sequence: %s" % (name, taken[-6:]))
        if glass_rows(tool, glass) != [""] * 8:
            fail("%s: the glass is not empty at the end: %s" % (name, glass_rows(tool, glass)))
        print("%s: SIGTERM blanked the display and ended it with status 0" % name)
    finally:
        if dotvane.poll() is None:
            dotvane.kill()
            dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def read(path):
    with open(path, errors="replace") as text:
        return text.read()


def main():
    program, plain = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    tool, simport = os.path.abspath(sys.argv[3]), os.path.abspath(sys.argv[4])
    check_command_line(program, "Dotvane v. 0.3.2 pre13 NT")
    check_command_line(plain, "Dotvane v. 0.3.2 pre13")

    simulated = dict(os.environ, LD_LIBRARY_PATH=simport)
    for each in (program, plain):
        run_case(os.path.basename(each) + " --headless", each, tool, without_display(simulated), ["--headless"], True)

    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    try:
        env = dict(simulated, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        run_case("dotvane with its window", program, tool, env, [], False)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)
    print("PASS")


if __name__ == "__main__":
    main()
