#!/usr/bin/python3
"""The whole program, without a window, on a ppdev device that fails while
it runs and then answers again.

Usage: ppdev_fault_test.py PROGRAM GLASS_TEXT PPDEV_STANDIN

The program runs with --headless on the real port library beside it, with
the stand-in for the kernel's ppdev driver preloaded: /dev/parport0 serves
the port at 888, with an emulated T6963C (Size 4) behind it. The screen
shows a fixed row and the first line of a text file, refreshed every 100 ms.

Each case makes the device fail through the stand-in's fault file: with EIO
every call fails; with ENODEV the adapter is pulled, so the open device is
dead for good and only opening it again, once it is back, works. Then:
- standard error must say once, naming the device and the error, that the
  LCD is not being updated;
- the text file changes while the device fails, and the program must have
  refreshed with the new text before the device comes back (for EIO two
  status reads of a failing device, for ENODEV a failed attempt to open it
  again, both in the stand-in's log, after the change);
- once the device answers again, standard error must say so once, and the
  glass must show the new text: what was sent meanwhile was lost, so the
  display is drawn anew;
- SIGTERM still ends the program with exit status 0.
"""
import errno
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import fail  # noqa: E402

DEVICE = "/dev/parport0"
FIXED_ROW = "PPDEV"

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


def write_atomically(path, text):
    with open(path + ".new", "w") as out:
        out.write(text)
    os.replace(path + ".new", path)


def read(path):
    if not os.path.exists(path):
        return ""
    with open(path, errors="replace") as text:
        return text.read()


def glass_rows(tool, glass):
    if not os.path.exists(glass):
        return None
    result = subprocess.run([tool, glass, "8", "16", "8"], capture_output=True, text=True)
    if result.returncode != 0:
        return None
    return [row.rstrip() for row in result.stdout.split("\n")[:8]]


def wait_for(what, check, dotvane, errors, seconds=60):
    """Polls `check` until it gives a true value, which it returns."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if dotvane.poll() is not None:
            fail("%s: the program ended with status %d: %s" % (what, dotvane.returncode, read(errors)))
        value = check()
        if value:
            return value
        time.sleep(0.1)
    fail("%s: not within %d s; standard error: %s" % (what, seconds, read(errors)[-2000:]))


def lines_ending(errors, text):
    return [line for line in read(errors).splitlines() if line.endswith(" " + text)]


def ports_tree(folder):
    """A tree standing in for /proc: parport0 at 888."""
    port = os.path.join(folder, "proc", "sys", "dev", "parport", "parport0")
    os.makedirs(port)
    with open(os.path.join(port, "base-addr"), "w") as description:
        description.write("888\t1912\n")
    return os.path.join(folder, "proc")


def run_case(fault, evidence, needed, program, tool, standin):
    """`needed` lines of `evidence` in the stand-in's log after the text
    changed show that a refresh took the new text while the device failed."""
    name = "%s mid-run" % fault
    folder = tempfile.mkdtemp(prefix="dotvane-ppdev-fault-")
    shutil.copy2(program, folder)
    shutil.copy2(os.path.join(os.path.dirname(program), "libdlportio.so"), folder)
    text_file = os.path.join(folder, "row.txt")
    write_atomically(text_file, "one\n")
    fault_file = os.path.join(folder, "fault")
    write_atomically(fault_file, "")
    with open(os.path.join(folder, "DOTVANE.INI"), "w") as settings:
        settings.write(SETTINGS)
    os.mkdir(os.path.join(folder, "screens"))
    with open(os.path.join(folder, "screens", "default.ini"), "w") as screens:
        screens.write("[Screen0]\nEnable=1\nUpdate=100\nLine0=%s\nLine1=$textfile(%s,1)$\n" % (FIXED_ROW, text_file))
    glass = os.path.join(folder, "glass.png")
    log = os.path.join(folder, "ppdev.log")
    errors = os.path.join(folder, "stderr.txt")
    env = dict(os.environ, DOTVANE_PPDEV_DEVICE=DEVICE, DOTVANE_PPDEV_PROC=ports_tree(folder),
               DOTVANE_PPDEV_FAULT=fault_file, DOTVANE_PPDEV_LOG=log,
               DOTVANE_SIM_PANEL="t6963c", DOTVANE_SIM_WIDTH="128", DOTVANE_SIM_HEIGHT="64",
               DOTVANE_SIM_FONT_WIDTH="8", DOTVANE_SIM_WIRING="0", DOTVANE_SIM_PNG=glass, DOTVANE_SIM_SCALE="1",
               XDG_RUNTIME_DIR=folder)
    for variable in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LD_LIBRARY_PATH"):
        env.pop(variable, None)
    command = ["env", "LD_PRELOAD=" + standin, os.path.join(folder, os.path.basename(program)), "--headless"]
    with open(errors, "w") as error_file:
        dotvane = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=error_file)
    try:
        wait_for(name + ": the glass shows the screen",
                 lambda: (glass_rows(tool, glass) or [])[:2] == [FIXED_ROW, "one"], dotvane, errors)

        failing = "%s: %s; the LCD is not being updated" % (DEVICE, os.strerror(getattr(errno, fault)))
        again = "%s: the LCD is being updated again" % DEVICE
        write_atomically(fault_file, fault)
        print("%s: %s" % (name, wait_for(name + ": the failure is told",
                                         lambda: lines_ending(errors, failing), dotvane, errors)[0]))

        before = read(log).count(evidence)
        write_atomically(text_file, "two\n")
        wait_for(name + ": a refresh with the new text while the device fails",
                 lambda: read(log).count(evidence) >= before + needed, dotvane, errors)
        write_atomically(fault_file, "")
        print("%s: %s" % (name, wait_for(name + ": the recovery is told",
                                         lambda: lines_ending(errors, again), dotvane, errors)[0]))
        rows = wait_for(name + ": the glass shows the text sent while the device failed",
                        lambda: (glass_rows(tool, glass) or [None])[:2] == [FIXED_ROW, "two"] and glass_rows(tool, glass),
                        dotvane, errors)
        print("%s: the glass shows %s" % (name, rows[:2]))

        for text in (failing, again):
            told = lines_ending(errors, text)
            if len(told) != 1:
                fail("%s: %r is told %d times: %s" % (name, text, len(told), read(errors)))

        dotvane.send_signal(signal.SIGTERM)
        try:
            status = dotvane.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("%s: SIGTERM did not end the program" % name)
        if status != 0:
            fail("%s: exit status %d after SIGTERM: %s" % (name, status, read(errors)))
        if glass_rows(tool, glass) != [""] * 8:
            fail("%s: the glass is not empty at the end: %s" % (name, glass_rows(tool, glass)))
        print("%s: SIGTERM blanked the display and ended it with status 0" % name)
    finally:
        if dotvane.poll() is None:
            dotvane.kill()
            dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program, tool, standin = (os.path.abspath(arg) for arg in sys.argv[1:4])
    run_case("EIO", "PPRSTATUS -> EIO", 2, program, tool, standin)
    run_case("ENODEV", "open %s -> ENOENT" % DEVICE, 1, program, tool, standin)
    print("PASS")


if __name__ == "__main__":
    main()
