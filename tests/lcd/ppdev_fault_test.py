#!/usr/bin/python3
"""The program with --headless on a ppdev device that fails while it runs.

Usage: ppdev_fault_test.py PROGRAM GLASS_TEXT PPDEV_STANDIN

The real port library beside the program reaches an emulated T6963C through
the preloaded ppdev stand-in (/dev/parport0 at 888). The screen shows a
fixed row and the first line of a text file, refreshed every 100 ms. The
stand-in's fault file makes the device fail with EIO, then, in a second
run, pulls the adapter (ENODEV). Standard error must tell the failure once,
naming the device and the error; the text changes while the device fails,
and once the device answers again standard error must tell that once and
the glass must show the new text.
"""
import errno
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import fail  # noqa: E402

SETTINGS = "[LCD]\nType=0\nTextColumns=16\n[T6963C]\nSize=4\nWiring=0\nCheckBusyFlag=0\n"


def write(path, text):
    with open(path + ".new", "w") as out:
        out.write(text)
    os.replace(path + ".new", path)


def read(path):
    if not os.path.exists(path):
        return ""
    with open(path, errors="replace") as text:
        return text.read()


def run_case(fault, evidence, needed, program, tool, standin):
    """`needed` more lines of `evidence` in the stand-in's log after the text
    changed show that a refresh took the new text while the device failed:
    two status reads of a failing device, or one failed opening of a gone
    one."""
    folder = tempfile.mkdtemp(prefix="dotvane-ppdev-fault-")
    paths = {name: os.path.join(folder, name) for name in ("row.txt", "fault", "glass.png", "ppdev.log", "stderr")}
    shutil.copy2(program, folder)
    shutil.copy2(os.path.join(os.path.dirname(program), "libdlportio.so"), folder)
    write(paths["row.txt"], "one\n")
    write(paths["fault"], "")
    write(os.path.join(folder, "DOTVANE.INI"), SETTINGS)
    os.makedirs(os.path.join(folder, "screens"))
    write(os.path.join(folder, "screens", "default.ini"),
          "[Screen0]\nEnable=1\nUpdate=100\nLine0=PPDEV\nLine1=$textfile(%s,1)$\n" % paths["row.txt"])
    os.makedirs(os.path.join(folder, "proc/sys/dev/parport/parport0"))
    write(os.path.join(folder, "proc/sys/dev/parport/parport0/base-addr"), "888\t1912\n")
    env = {name: value for name, value in os.environ.items()
           if name not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LD_LIBRARY_PATH")}
    env.update(DOTVANE_PPDEV_DEVICE="/dev/parport0", DOTVANE_PPDEV_PROC=os.path.join(folder, "proc"),
               DOTVANE_PPDEV_FAULT=paths["fault"], DOTVANE_PPDEV_LOG=paths["ppdev.log"], XDG_RUNTIME_DIR=folder,
               DOTVANE_SIM_PNG=paths["glass.png"], DOTVANE_SIM_SCALE="1")
    with open(paths["stderr"], "w") as errors:
        dotvane = subprocess.Popen(["env", "LD_PRELOAD=" + standin, os.path.join(folder, os.path.basename(program)),
                                    "--headless"], cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=errors)

    def wait_for(what, check):
        deadline = time.time() + 60
        while time.time() < deadline:
            if dotvane.poll() is not None:
                fail("%s: the program ended with status %d" % (fault, dotvane.returncode))
            if check():
                return
            time.sleep(0.1)
        fail("%s: %s not within 60 s; standard error: %s" % (fault, what, read(paths["stderr"])[-2000:]))

    def glass_shows(row):
        result = subprocess.run([tool, paths["glass.png"], "8", "16", "8"], capture_output=True, text=True)
        return result.returncode == 0 and [r.rstrip() for r in result.stdout.split("\n")[:2]] == ["PPDEV", row]

    def told(text):
        return [line for line in read(paths["stderr"]).splitlines() if line.endswith(" /dev/parport0: " + text)]

    failing = "%s; the LCD is not being updated" % os.strerror(getattr(errno, fault))
    again = "the LCD is being updated again"
    try:
        wait_for("the glass showing the screen", lambda: os.path.exists(paths["glass.png"]) and glass_shows("one"))
        write(paths["fault"], fault)
        wait_for("the failure told", lambda: told(failing))
        before = read(paths["ppdev.log"]).count(evidence)
        write(paths["row.txt"], "two\n")
        wait_for("a refresh while the device fails", lambda: read(paths["ppdev.log"]).count(evidence) >= before + needed)
        write(paths["fault"], "")
        wait_for("the recovery told", lambda: told(again))
        wait_for("the glass showing the text sent while the device failed", lambda: glass_shows("two"))
        for text in (failing, again):
            if len(told(text)) != 1:
                fail("%s: %r is not told once: %s" % (fault, text, read(paths["stderr"])))
        print("%s: %s" % (fault, " / ".join(told(failing) + told(again))))
    finally:
        dotvane.kill()
        dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program, tool, standin = (os.path.abspath(arg) for arg in sys.argv[1:4])
    run_case("EIO", "PPRSTATUS -> EIO", 2, program, tool, standin)
    run_case("ENODEV", "open /dev/parport0 -> ENOENT", 1, program, tool, standin)
    print("PASS")


if __name__ == "__main__":
    main()
