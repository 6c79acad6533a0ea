#!/usr/bin/python3
"""The whole program on an emulated display module.

Usage: simulated_glass_test.py PROGRAM GLASS_TEXT SIMPORT_FOLDER [PPDEV_STANDIN]

Each case copies the program with the example configuration of its folder
into a fresh folder, sets the display's keys, keeps the rotation on the
first screen (the other screens are disabled, so it stays shown however
slowly the program starts), starts it on a private Xvfb display and compares
the text rows of the emulated glass (a PNG picture) with those of the
virtual display in the program's window (read from a screenshot at half
size). Both are read with the built-in 5x7 font by the glass_text tool.

The first cases run the T6963C (LCD/Type 0, T6963C/Size 4, 128 x 64) and the
KS0108 (Type 1) on the simulated port library, named by LD_LIBRARY_PATH.

With PPDEV_STANDIN, the same program then runs on the real port library
beside it, reaching the port through a ppdev device: the preloaded stand-in
for the kernel's ppdev driver answers the device's calls in front of the
emulated module, describes the machine's ports from a tree made here in
place of /proc, and refuses I/O permission; the program runs without
CAP_SYS_RAWIO (setpriv drops it when the test runs as root), so the kernel
would refuse that permission too. The T6963C runs in wiring A with its busy check, its
device found by Base, and in wiring B on the device named by [Port] Device;
the KS0108 finds its device at 888. The stand-in's log must show the device
opened and claimed, and no request for I/O permission.
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


def prepare_folder(program, keys, with_library):
    folder = tempfile.mkdtemp(prefix="dotvane-glass-")
    source = os.path.dirname(program)
    shutil.copy2(program, folder)
    if with_library:
        shutil.copy2(os.path.join(source, "libdlportio.so"), folder)
    for sub in ("screens", "images"):
        shutil.copytree(os.path.join(source, sub), os.path.join(folder, sub))
    with open(os.path.join(source, "DOTVANE.INI")) as settings:
        text = settings.read()
    for key, value in keys.items():
        text, count = re.subn(r"(?mi)^%s=.*$" % key, "%s=%s" % (key, value), text, count=1)
        if count != 1:
            fail("no %s in the example DOTVANE.INI" % key)
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


def run_case(name, program, tool, keys, case_env, ppdev_log=None, preload=None):
    """Runs the program with the keys set until glass and window agree."""
    lcd_type = keys["Type"]
    folder = prepare_folder(program, keys, ppdev_log is not None)
    glass = os.path.join(folder, "glass.png")
    shown = os.path.join(folder, "shown.pbm")
    case_env = dict(case_env, DOTVANE_SIM_PNG=glass, DOTVANE_SIM_SCALE="1",
                    DOTVANE_SIM_PANEL="t6963c" if lcd_type == 0 else "ks0108",
                    DOTVANE_SIM_WIDTH="128", DOTVANE_SIM_HEIGHT="64", DOTVANE_SIM_FONT_WIDTH="8",
                    DOTVANE_SIM_WIRING=str(keys.get("Wiring", 0)))
    if ppdev_log is not None:
        case_env["DOTVANE_PPDEV_LOG"] = os.path.join(folder, ppdev_log)
    # The T6963C at Size 4 has 16 cells of 8 pixels; the KS0108 and the
    # virtual display 21 of 6 pixels.
    cell, columns = (8, 16) if lcd_type == 0 else (6, 21)
    command = [os.path.join(folder, os.path.basename(program))]
    if preload:
        # Preloaded into the program only, not into setpriv.
        command = ["env", "LD_PRELOAD=" + preload] + command
        if os.geteuid() == 0 and shutil.which("setpriv"):
            command = ["setpriv", "--bounding-set=-sys_rawio", "--inh-caps=-sys_rawio"] + command
    dotvane = subprocess.Popen(command, cwd=folder, env=case_env)
    try:
        deadline = time.time() + 150
        last = None
        while time.time() < deadline:
            time.sleep(0.5)
            if dotvane.poll() is not None:
                fail("%s: the program ended with code %d" % (name, dotvane.returncode))
            if not os.path.exists(glass) or not virtual_display_pbm(screenshot(case_env), shown):
                continue
            on_glass = text_rows(tool, glass, cell, columns)
            on_screen = text_rows(tool, shown, 6, 21)
            last = (on_glass, on_screen)
            if on_glass and on_screen and any(on_screen) and on_glass == [row[:columns] for row in on_screen]:
                print("%s: %s" % (name, on_glass))
                if ppdev_log is not None:
                    check_ppdev_log(name, os.path.join(folder, ppdev_log), keys)
                if preload:
                    check_no_raw_io(name, dotvane.pid)
                return
        fail("%s: glass and virtual display differ: %s" % (name, last))
    finally:
        dotvane.kill()
        dotvane.wait()
        shutil.rmtree(folder, ignore_errors=True)


def check_ppdev_log(name, path, keys):
    """The device was opened and claimed alone, no I/O permission was asked
    for, and with the busy check the status was read with the data lines as
    inputs."""
    with open(path) as log:
        calls = log.read().split("\n")
    device = keys.get("Device") or "/dev/parport0"
    opening = ["open " + device, "PPEXCL", "PPCLAIM"]
    if calls[:3] != opening:
        fail("%s: the device was not opened and claimed: %s" % (name, calls[:5]))
    if any(call.startswith(("ioperm", "iopl")) for call in calls):
        fail("%s: I/O permission was asked for: %s" % (name, [c for c in calls if c.startswith("io")][:3]))
    if keys.get("CheckBusyFlag") == 1:
        if "PPDATADIR 1" not in calls or not any(call.startswith("PPRDATA ") for call in calls):
            fail("%s: no status read with the data lines as inputs" % name)


def check_no_raw_io(name, pid):
    """The program runs without CAP_SYS_RAWIO, so the kernel would refuse it
    I/O permission even without the stand-in."""
    with open("/proc/%d/status" % pid) as status:
        effective = [line.split()[1] for line in status if line.startswith("CapEff:")]
    if not effective or int(effective[0], 16) & (1 << 17):
        fail("%s: the program may use I/O ports (CapEff %s)" % (name, effective))


def ports_tree():
    """A tree standing in for /proc: parport0 at 888 and parport1 at 956."""
    root = tempfile.mkdtemp(prefix="dotvane-ports-")
    for number, base in ((0, 888), (1, 956)):
        port = os.path.join(root, "sys", "dev", "parport", "parport%d" % number)
        os.makedirs(port)
        with open(os.path.join(port, "base-addr"), "w") as description:
            description.write("%d\t%d\n" % (base, base + 1024))
    return root


def main():
    program, tool, simport = (os.path.abspath(arg) for arg in sys.argv[1:4])
    standin = os.path.abspath(sys.argv[4]) if len(sys.argv) > 4 else None
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    ports = ports_tree()
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    try:
        simulated = dict(env, LD_LIBRARY_PATH=simport)
        run_case("T6963C, simulated port", program, tool, {"Type": 0}, simulated)
        run_case("KS0108, simulated port", program, tool, {"Type": 1}, simulated)
        if standin:
            env.pop("LD_LIBRARY_PATH", None)
            ppdev = dict(env, DOTVANE_PPDEV_PROC=ports, DOTVANE_PPDEV_DEVICE="/dev/parport0")
            run_case("T6963C wiring A with busy check, ppdev", program, tool,
                     {"Type": 0, "Wiring": 0, "CheckBusyFlag": 1}, ppdev, "ppdev.log", standin)
            run_case("T6963C wiring B, ppdev named by [Port] Device", program, tool,
                     {"Type": 0, "Wiring": 1, "Device": "/dev/parport7"},
                     dict(ppdev, DOTVANE_PPDEV_DEVICE="/dev/parport7"), "ppdev.log", standin)
            run_case("KS0108, ppdev", program, tool, {"Type": 1}, ppdev, "ppdev.log", standin)
        print("PASS")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)
        shutil.rmtree(ports, ignore_errors=True)


if __name__ == "__main__":
    main()
