#!/usr/bin/python3
"""The real program as a service in a hostile setting, on an emulated T6963C.

Usage: service_test.py PROGRAM GLASS_TEXT SIMPORT_FOLDER GROUP [BLANK_WITHIN]

Each case starts a copy of the program in a fresh folder on the simulated
port library, waits for what the case is about, sends SIGTERM, and wants the
T6963C's blank sequence to begin in the log of the bytes the module took
(DOTVANE_SIM_LOG) within BLANK_WITHIN seconds (1 unless given) and to be the
last bytes it took, exit status 0 and an empty glass.

"output", with --headless: standard error a pipe nobody reads, filled by 16
long messages (the lines must be time-stamped, the dropped ones counted);
standard output and error closed; standard error a pipe without a reader;
the stop signals blocked by the parent; 1000 SIGTERMs at once, with Qt's
debug lines asked for (they must be time-stamped lines) and a missing icon
(its message held back, and counted in the last line).
"states", with --headless: waiting on a web server that never answers, on a
T6963C whose busy check never answers, and on ten media players on a private
session bus that never answer (dbus-test-tool's black holes).
"window", on a private Xvfb display: a message box at start-up, before the
main window exists, and one while a screen's icons are drawn; standard
error a full pipe while Qt writes its debug lines; and the cases above of
standard output and error closed, a pipe without a reader and blocked stop
signals.
"""
import fcntl
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from stop_signals_test import ROWS, SETTINGS, blank_sequence, glass_rows, read, without_display  # noqa: E402
from xsession import fail, start_xvfb, visible_windows  # noqa: E402

SCREEN = "[Screen0]\nEnable=1\nLine0=%s\nLine1=%s\nLine2=$time$\n" % tuple(ROWS)
MISSING_BITMAP = "Bitmap=images\\missing.bmp\n"
MISSING_ICON = 'Icon0="images\\missing.bmp(0,40)"\n'
STAMPED = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d ")
F_SETPIPE_SZ = 1031


class Case:
    """A copy of the program running in a folder of its own."""

    def __init__(self, name, context, screen, settings=SETTINGS, env=None, arguments=None, **popen):
        self.name, self.tool, self.blank_within = context.prefix + name, context.tool, context.blank_within
        arguments = context.arguments if arguments is None else arguments
        self.folder = tempfile.mkdtemp(prefix="dotvane-service-")
        for path, text in (("DOTVANE.INI", settings), ("screens/default.ini", screen)):
            os.makedirs(os.path.dirname(os.path.join(self.folder, path)), exist_ok=True)
            with open(os.path.join(self.folder, path), "w") as out:
                out.write(text)
        os.mkdir(os.path.join(self.folder, "images"))
        shutil.copy2(os.path.join(os.path.dirname(context.program), "images", "play.bmp"),
                     os.path.join(self.folder, "images", "shown.bmp"))
        program = shutil.copy2(context.program, self.folder)
        self.glass, self.log = os.path.join(self.folder, "glass.png"), os.path.join(self.folder, "bytes.log")
        env = dict(env or context.env, DOTVANE_SIM_PANEL="t6963c", DOTVANE_SIM_WIDTH="128", DOTVANE_SIM_HEIGHT="64",
                   DOTVANE_SIM_FONT_WIDTH="8", DOTVANE_SIM_WIRING="0", DOTVANE_SIM_PNG=self.glass,
                   DOTVANE_SIM_SCALE="1", DOTVANE_SIM_LOG=self.log)
        popen.setdefault("stdout", subprocess.DEVNULL)
        popen.setdefault("stderr", subprocess.DEVNULL)
        self.process = subprocess.Popen([program] + list(arguments), cwd=self.folder, env=env, **popen)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def wait_for(self, condition, seconds, what):
        deadline = time.monotonic() + seconds
        while not condition():
            if self.process.poll() is not None:
                fail("%s: the program ended with status %d before %s" % (self.name, self.process.returncode, what))
            if time.monotonic() > deadline:
                fail("%s: no %s within %d s" % (self.name, what, seconds))
            time.sleep(0.1)

    def shows_rows(self):
        rows = glass_rows(self.tool, self.glass)
        return rows is not None and rows[:2] == ROWS

    def taken(self):
        return read(self.log).splitlines() if os.path.exists(self.log) else []

    def blank_begun(self, since):
        start, taken = blank_sequence()[:24], self.taken()
        return any(taken[at:at + len(start)] == start for at in range(since, len(taken) - len(start) + 1))

    def blank_last(self, since):
        blank, taken = blank_sequence(), self.taken()
        return len(taken) >= since + len(blank) and taken[-len(blank):] == blank

    def stop(self, signals=1):
        # Opening the module clears it with the same bytes: only a blank
        # after the signal counts.
        before, started = len(self.taken()), time.monotonic()
        for _ in range(signals):
            self.process.send_signal(signal.SIGTERM)
        while not self.blank_begun(before):
            if time.monotonic() > started + 10:
                fail("%s: the LCD was not blanked after SIGTERM; it took last %s" % (self.name, self.taken()[-4:]))
            time.sleep(0.05)
        blanked = time.monotonic() - started
        try:
            status = self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("%s: SIGTERM did not end the program" % self.name)
        if status != 0:
            fail("%s: exit status %d after SIGTERM" % (self.name, status))
        if not self.blank_last(before) or glass_rows(self.tool, self.glass) != [""] * 8:
            fail("%s: the LCD was written again after it was blanked: %s" % (self.name, self.taken()[-4:]))
        if blanked > self.blank_within:
            fail("%s: the LCD began to be blanked %.2f s after SIGTERM" % (self.name, blanked))
        print("%s: %d SIGTERM, blank from %.2f s on, exit status 0" % (self.name, signals, blanked))


def drain(descriptor):
    data = b""
    os.set_blocking(descriptor, False)
    try:
        while chunk := os.read(descriptor, 65536):
            data += chunk
    except BlockingIOError:
        pass
    return data


def full_standard_error(context):
    # Without a window, 16 missing icons with long names give long lines at
    # every refresh; with one (where they would be boxes), Qt's debug lines
    # about its plugins come to several times the pipe's size.
    icons = "".join('Icon%d="images\\missing-%02d-%s.bmp(0,40)"\n' % (i, i, "x" * 900) for i in range(16))
    read_end, write_end = os.pipe()
    fcntl.fcntl(write_end, F_SETPIPE_SZ, 4096)
    screen = SCREEN + (icons if context.arguments else "")
    with Case("standard error a full pipe", context, screen, env=context.chatty_qt, stderr=write_end) as case:
        os.close(write_end)
        case.wait_for(case.shows_rows, 15, "screen on the glass")
        # Standard error stays full, and the time row still changes.
        before = len(case.taken())
        case.wait_for(lambda: len(case.taken()) > before, 5, "update of the LCD")
        written = drain(read_end)
        case.stop()
        written += drain(read_end)
    os.close(read_end)
    lines = written.decode("utf-8", "replace").splitlines()
    if not lines or not all(STAMPED.match(line) for line in lines) or \
            not re.search(r" lines? (was|were) dropped: standard error could not take (it|them)$", lines[-1]):
        fail("%s: the lines were %s" % (case.name, [line[:60] for line in lines]))
    print("%s: %d lines, then %r" % (case.name, len(lines) - 1, lines[-1][20:]))


def badly_set_up(context):
    def close_output():
        os.close(1)
        os.close(2)

    def block_stops():
        signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT, signal.SIGHUP})

    # A pipe whose reader has gone, as in "dotvane --headless 2>&1 | true".
    # Without a window the missing bitmap gives a line of the log at every
    # refresh; with one, Qt's debug lines are what is written.
    read_end, write_end = os.pipe()
    os.close(read_end)
    written = MISSING_BITMAP if context.arguments else ""
    for name, screen, popen in (("standard output and error closed", written, dict(preexec_fn=close_output)),
                                ("standard error without a reader", written, dict(stderr=write_end)),
                                ("stop signals blocked by the parent", "", dict(preexec_fn=block_stops))):
        with Case(name, context, SCREEN + screen, env=context.chatty_qt, **popen) as case:
            case.wait_for(case.shows_rows, 15, "screen on the glass")
            case.stop()
    os.close(write_end)


def many_signals(context):
    with tempfile.TemporaryFile("w+") as errors:
        with Case("1000 SIGTERMs", context, SCREEN + MISSING_ICON, env=context.chatty_qt, stderr=errors) as case:
            case.wait_for(case.shows_rows, 15, "screen on the glass")
            # Two more refreshes, each of which tells of the missing icon.
            for _ in range(2):
                before = len(case.taken())
                case.wait_for(lambda: len(case.taken()) > before, 5, "update of the LCD")
            case.stop(signals=1000)
        errors.seek(0)
        lines = errors.read().splitlines()
    qt = [line for line in lines if "qt.core.plugin.loader" in line]
    if not qt or not all(STAMPED.match(line) for line in lines):
        fail("Qt's messages are not time-stamped lines of the log: %s" % [line[:70] for line in lines[:5]])
    print("Qt's messages: %d lines such as %r" % (len(qt), qt[0][:70]))
    # The icon's message went out once; the log's last line tells how often
    # it was held back since.
    icon = [line[20:] for line in lines if "missing.bmp" in line]
    if len(icon) != 2 or not re.fullmatch(r".* \(held back (once|\d+ times) since [-\dT:]+\)", icon[-1]) or \
            lines[-1][20:] != icon[-1]:
        fail("the held-back icon message was not counted at the end: %s" % icon)
    print("held back: %r" % icon[-1])


def silent_web_server(context):
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    accepted = []
    threading.Thread(target=lambda: accepted.append(server.accept()), daemon=True).start()
    settings = SETTINGS + "\n[ExternalIP]\nEnable=1\nWebAddress=http://127.0.0.1:%d/\n" % server.getsockname()[1]
    with Case("waiting on the network", context, SCREEN, settings=settings) as case:
        # The first lookup comes 10 s after start.
        case.wait_for(lambda: accepted, 20, "connection to the web server")
        case.stop()
    server.close()


def busy_check(context):
    settings = SETTINGS.replace("CheckBusyFlag=0", "CheckBusyFlag=1")
    env = dict(context.env, DOTVANE_SIM_BUSY_POLLS="-1")
    with Case("a busy check that never answers", context, SCREEN, settings=settings, env=env) as case:
        case.wait_for(lambda: len(case.taken()) > 300, 15, "bytes to the LCD")
        case.stop()


def bus_names(env):
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"],
                          env=env, capture_output=True, text=True, timeout=10).stdout


def silent_players(context):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
                           stdout=subprocess.PIPE, text=True)
    holes = []
    try:
        env = dict(context.env, DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip())
        for i in range(10):
            holes.append(subprocess.Popen(["dbus-test-tool", "black-hole", "--session",
                                           "--name=org.mpris.MediaPlayer2.silent%d" % i], env=env))
        deadline = time.monotonic() + 10
        while bus_names(env).count("org.mpris.MediaPlayer2.silent") < 10:
            if time.monotonic() > deadline:
                fail("silent players: the black holes did not take their names")
            time.sleep(0.1)
        with Case("ten media players that never answer", context, SCREEN + "Line3=$winamptitle$\n", env=env) as case:
            case.wait_for(case.shows_rows, 15, "screen on the glass")
            case.stop()
    finally:
        for process in holes + [bus]:
            process.terminate()
            process.wait()


def startup_box(context):
    with Case("a box at start-up", context, SCREEN + MISSING_BITMAP) as case:
        case.wait_for(lambda: visible_windows(context.env, "^Dotvane$"), 15, "message box")
        if visible_windows(context.env, "^Dotvane v"):
            fail("%s: the main window is shown already" % case.name)
        case.stop()


def running_box(context):
    screens = SCREEN + '[Screen1]\nEnable=1\nIcon0="images\\missing.bmp(0,40)"\nIcon1="images\\shown.bmp(64,40)"\n'
    with Case("a box while a screen's icons are drawn", context, screens) as case:
        case.wait_for(lambda: visible_windows(context.env, "^Dotvane v"), 15, "main window")
        # The first rotation, 5 s after start, draws the icons.
        case.wait_for(lambda: visible_windows(context.env, "^Dotvane$"), 15, "message box")
        case.stop()


class Context:
    def __init__(self, program, tool, env, blank_within, window):
        self.program, self.tool, self.env, self.blank_within = program, tool, env, blank_within
        self.arguments, self.prefix = ((), "window, ") if window else (("--headless",), "")
        self.chatty_qt = dict(env, QT_LOGGING_RULES="qt.core.plugin.loader.debug=true")


GROUPS = {
    "output": [full_standard_error, badly_set_up, many_signals],
    "states": [silent_web_server, busy_check, silent_players],
    "window": [startup_box, running_box, full_standard_error, badly_set_up],
}


def main():
    program, tool, simport = (os.path.abspath(arg) for arg in sys.argv[1:4])
    group, blank_within = sys.argv[4], float(sys.argv[5]) if len(sys.argv) > 5 else 1.0
    env = without_display(dict(os.environ, LD_LIBRARY_PATH=simport))
    xvfb = None
    if group == "window":
        xvfb, display = start_xvfb()
        env.update(DISPLAY=display, XDG_RUNTIME_DIR=tempfile.mkdtemp(), QT_QPA_PLATFORM="xcb")
    try:
        for case in GROUPS[group]:
            case(Context(program, tool, env, blank_within, group == "window"))
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
            shutil.rmtree(env["XDG_RUNTIME_DIR"], ignore_errors=True)
    print("PASS")


if __name__ == "__main__":
    main()
