#!/usr/bin/python3
"""The real program as a service meets a hostile setting, on an emulated
T6963C module, and must end as asked with the LCD blank.

Usage: service_test.py PROGRAM GLASS_TEXT SIMPORT_FOLDER GROUP [BLANK_WITHIN]

Each case starts a copy of the program from a fresh folder on the simulated
port library, waits (with a deadline) for what the case is about, asks it to
end with SIGTERM, and then wants the T6963C's blank sequence to begin in the
log of the bytes the module took (DOTVANE_SIM_LOG) within BLANK_WITHIN
seconds (1 unless given) and to be the last bytes it took, the program to
end with exit status 0 and the glass to be empty.

GROUP "output": the program with --headless, whose standard error and
signals a service manager or a shell set up badly: standard error a pipe
that nobody reads (and that the program fills with the messages of 16
missing icons), standard output and error closed, standard error a pipe
whose reader has gone, the stop signals blocked by the parent, and 1000
SIGTERMs at once. Qt's own messages, which a logging rule asks for, must
reach standard error as time-stamped lines.

GROUP "states": the program with --headless while it waits: on a web server
that accepts the address lookup and never answers, and on a T6963C whose
busy check never answers.

GROUP "window": the program with its window on a private Xvfb display while
a message box waits for its OK: at start-up, before the main window exists,
and while it runs, in the middle of drawing a screen's icons. Last, the
program connects through a display that drops its first three connections
at once, as an X server that resets itself does, and must try again
instead of giving up.
"""
import fcntl
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import termios
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from stop_signals_test import ROWS, SETTINGS, blank_sequence, glass_rows, read, without_display  # noqa: E402
from xsession import fail, start_xvfb, visible_windows  # noqa: E402

SCREEN = "[Screen0]\nEnable=1\nLine0=%s\nLine1=%s\nLine2=$time$\n" % tuple(ROWS)
MISSING_BITMAP = "Bitmap=images\\missing.bmp\n"
STAMPED = r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d "
F_SETPIPE_SZ = 1031


class Case:
    """One run of a copy of the program in a folder of its own."""

    def __init__(self, name, context, screen, settings=SETTINGS, env=None, arguments=("--headless",), **popen):
        self.name, self.context = name, context
        self.folder = tempfile.mkdtemp(prefix="dotvane-service-")
        program = os.path.join(self.folder, os.path.basename(context.program))
        shutil.copy2(context.program, program)
        with open(os.path.join(self.folder, "DOTVANE.INI"), "w") as out:
            out.write(settings)
        os.mkdir(os.path.join(self.folder, "screens"))
        with open(os.path.join(self.folder, "screens", "default.ini"), "w") as out:
            out.write(screen)
        os.mkdir(os.path.join(self.folder, "images"))
        shutil.copy2(os.path.join(os.path.dirname(context.program), "images", "play.bmp"),
                     os.path.join(self.folder, "images", "shown.bmp"))
        self.glass = os.path.join(self.folder, "glass.png")
        self.log = os.path.join(self.folder, "bytes.log")
        env = dict(env if env is not None else context.env, DOTVANE_SIM_PANEL="t6963c", DOTVANE_SIM_WIDTH="128",
                   DOTVANE_SIM_HEIGHT="64", DOTVANE_SIM_FONT_WIDTH="8", DOTVANE_SIM_WIRING="0",
                   DOTVANE_SIM_PNG=self.glass, DOTVANE_SIM_SCALE="1", DOTVANE_SIM_LOG=self.log)
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
        while time.monotonic() < deadline:
            if condition():
                return
            if self.process.poll() is not None:
                fail("%s: the program ended with status %d before %s" % (self.name, self.process.returncode, what))
            time.sleep(0.1)
        fail("%s: no %s within %d s" % (self.name, what, seconds))

    def shows_rows(self):
        rows = glass_rows(self.context.tool, self.glass)
        return rows is not None and rows[:2] == ROWS

    def taken(self):
        return read(self.log).splitlines() if os.path.exists(self.log) else []

    def blank_begun(self, since):
        """Whether the blank sequence begins somewhere after line `since`."""
        start = blank_sequence()[:24]
        taken = self.taken()
        return any(taken[at:at + len(start)] == start for at in range(since, len(taken) - len(start) + 1))

    def blank_done(self, since):
        blank = blank_sequence()
        taken = self.taken()
        return len(taken) >= since + len(blank) and taken[-len(blank):] == blank

    def stop(self, signals=1):
        """Sends the signals; wants the blank to begin in time, then to end
        the bytes the module took, and exit status 0."""
        # Opening the module clears it with the same bytes: the blank must
        # come after the signal.
        before = len(self.taken())
        started = time.monotonic()
        for _ in range(signals):
            self.process.send_signal(signal.SIGTERM)
        while not self.blank_begun(before):
            if time.monotonic() > started + 10:
                fail("%s: the LCD was not blanked after SIGTERM; it took last %s" % (self.name, self.taken()[-4:]))
            time.sleep(0.05)
        blanked = time.monotonic() - started
        # The simulated module draws its glass after every byte, which takes
        # long under the sanitizers.
        while not self.blank_done(before):
            if self.process.poll() is not None or time.monotonic() > started + 60:
                fail("%s: the LCD was written again after it was blanked: %s" % (self.name, self.taken()[-4:]))
            time.sleep(0.05)
        try:
            status = self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("%s: SIGTERM did not end the program" % self.name)
        if status != 0:
            fail("%s: exit status %d after SIGTERM" % (self.name, status))
        # Nothing reached the module after the blank sequence.
        if not self.blank_done(before) or glass_rows(self.context.tool, self.glass) != [""] * 8:
            fail("%s: the LCD was written again after it was blanked" % self.name)
        if blanked > self.context.blank_within:
            fail("%s: the LCD began to be blanked %.2f s after SIGTERM" % (self.name, blanked))
        print("%s: %d SIGTERM, LCD blanked from %.2f s on, exit status 0" % (self.name, signals, blanked))


def pipe_bytes(descriptor):
    return struct.unpack("i", fcntl.ioctl(descriptor, termios.FIONREAD, b"\0\0\0\0"))[0]


def drain(descriptor):
    os.set_blocking(descriptor, False)
    data = b""
    try:
        while True:
            chunk = os.read(descriptor, 65536)
            if not chunk:
                break
            data += chunk
    except BlockingIOError:
        pass
    return data


def full_standard_error(context):
    """A pipe of one page that nobody reads, and 16 long messages at once."""
    icons = "".join('Icon%d="images\\missing-%02d-%s.bmp(0,40)"\n' % (i, i, "x" * 900) for i in range(16))
    read_end, write_end = os.pipe()
    fcntl.fcntl(write_end, F_SETPIPE_SZ, 4096)
    try:
        with Case("standard error a full pipe", context, SCREEN + icons, stderr=write_end) as case:
            os.close(write_end)
            write_end = -1
            case.wait_for(case.shows_rows, 15, "screen on the glass")
            if pipe_bytes(read_end) < 3000:
                fail("%s: standard error is not full: %d bytes" % (case.name, pipe_bytes(read_end)))
            # The LCD goes on being updated: the time row changes.
            before = len(case.taken())
            case.wait_for(lambda: len(case.taken()) > before, 5, "update of the LCD")
            written = drain(read_end)
            case.stop()
            os.set_blocking(read_end, True)
            written += drain(read_end)
    finally:
        for end in (read_end, write_end):
            if end >= 0:
                os.close(end)
    lines = written.decode("utf-8", "replace").splitlines()
    if not lines or not all(re.match(STAMPED, line) for line in lines):
        fail("standard error a full pipe: not all lines are time-stamped: %s" % [line[:60] for line in lines])
    if not re.match(STAMPED + r"\d+ lines were dropped: standard error could not take them$", lines[-1]):
        fail("standard error a full pipe: the dropped lines are not told: %s" % [line[:60] for line in lines])
    print("standard error a full pipe: %d lines, then %r" % (len(lines) - 1, lines[-1][20:]))


def closed_output(context):
    def close_output():
        os.close(1)
        os.close(2)
    with Case("standard output and error closed", context, SCREEN + MISSING_BITMAP, preexec_fn=close_output) as case:
        case.wait_for(case.shows_rows, 15, "screen on the glass")
        case.stop()


def reader_gone(context):
    read_end, write_end = os.pipe()
    with Case("standard error's reader gone", context, SCREEN + MISSING_BITMAP, stderr=write_end) as case:
        os.close(read_end)
        os.close(write_end)
        case.wait_for(case.shows_rows, 15, "screen on the glass")
        case.stop()


def blocked_signals(context):
    def block():
        signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT, signal.SIGHUP})
    with Case("stop signals blocked by the parent", context, SCREEN, preexec_fn=block) as case:
        case.wait_for(case.shows_rows, 15, "screen on the glass")
        case.stop()


def many_signals(context):
    # Qt's debug lines for its plugins are asked for, to see that they are
    # lines of the log.
    env = dict(context.env, QT_LOGGING_RULES="qt.core.plugin.loader.debug=true")
    errors = os.path.join(tempfile.mkdtemp(prefix="dotvane-service-"), "stderr.txt")
    try:
        with open(errors, "w") as error_file:
            with Case("1000 SIGTERMs", context, SCREEN, env=env, stderr=error_file) as case:
                case.wait_for(case.shows_rows, 15, "screen on the glass")
                case.stop(signals=1000)
            lines = read(errors).splitlines()
        qt = [line for line in lines if "qt.core.plugin.loader" in line]
        if not qt or not all(re.match(STAMPED, line) for line in lines):
            fail("Qt's messages are not time-stamped lines of the log: %s" % [line[:70] for line in lines[:5]])
        print("Qt's messages: %d lines such as %r" % (len(qt), qt[0][:70]))
    finally:
        shutil.rmtree(os.path.dirname(errors), ignore_errors=True)


def silent_web_server(context):
    """A web server that accepts the address lookup and never answers."""
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    accepted = []
    threading.Thread(target=lambda: accepted.append(server.accept()), daemon=True).start()
    settings = SETTINGS + "\n[ExternalIP]\nEnable=1\nWebAddress=http://127.0.0.1:%d/\n" % server.getsockname()[1]
    try:
        with Case("waiting on the network", context, SCREEN, settings=settings) as case:
            # The first lookup comes 10 s after start.
            case.wait_for(lambda: accepted, 20, "connection to the web server")
            case.stop()
    finally:
        for connection, _ in accepted:
            connection.close()
        server.close()


def busy_check(context):
    settings = SETTINGS.replace("CheckBusyFlag=0", "CheckBusyFlag=1")
    env = dict(context.env, DOTVANE_SIM_BUSY_POLLS="-1")
    with Case("a busy check that never answers", context, SCREEN, settings=settings, env=env) as case:
        case.wait_for(lambda: len(case.taken()) > 300, 15, "bytes to the LCD")
        case.stop()


def startup_box(context):
    with Case("a box at start-up", context, SCREEN + MISSING_BITMAP, arguments=()) as case:
        case.wait_for(lambda: visible_windows(case.context.env, "^Dotvane$"), 15, "message box")
        if visible_windows(case.context.env, "^Dotvane v"):
            fail("%s: the main window is shown already" % case.name)
        case.stop()


def running_box(context):
    screens = SCREEN + "[Screen1]\nEnable=1\nLine0=SECOND\nIcon0=\"images\\missing.bmp(0,40)\"\n" \
                       "Icon1=\"images\\shown.bmp(64,40)\"\n"
    with Case("a box while a screen's icons are drawn", context, screens, arguments=()) as case:
        case.wait_for(lambda: visible_windows(case.context.env, "^Dotvane v"), 15, "main window")
        # The first rotation comes 5 s after start.
        case.wait_for(lambda: visible_windows(case.context.env, "^Dotvane$"), 15, "message box")
        case.stop()


class DroppingProxy:
    """A display of its own in front of the test's Xvfb: it drops the first
    connections at once, as an X server that resets itself does, and relays
    every later one to the Xvfb display."""

    def __init__(self, target, drops):
        self.number = next(n for n in range(200, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n)
                           and not os.path.exists("/tmp/.X%d-lock" % n))
        self.path = "/tmp/.X11-unix/X%d" % self.number
        self.target = "/tmp/.X11-unix/X%s" % target.lstrip(":")
        self.drops, self.dropped = drops, 0
        self.listener = socket.socket(socket.AF_UNIX)
        self.listener.bind(self.path)
        self.listener.listen(8)
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            if self.dropped < self.drops:
                self.dropped += 1
                client.close()
                continue
            server = socket.socket(socket.AF_UNIX)
            server.connect(self.target)
            for source, sink in ((client, server), (server, client)):
                threading.Thread(target=self.relay, args=(source, sink), daemon=True).start()

    @staticmethod
    def relay(source, sink):
        """Copies bytes, and the descriptors that come with them (the shared
        memory of a picture), from one end to the other."""
        try:
            while True:
                data, descriptors, _, _ = socket.recv_fds(source, 65536, 16)
                if not data:
                    break
                sent = socket.send_fds(sink, [data], descriptors) if descriptors else 0
                sink.sendall(data[sent:])
                for descriptor in descriptors:
                    os.close(descriptor)
        except OSError:
            pass
        for end in (source, sink):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def close(self):
        self.listener.close()
        os.unlink(self.path)


def dropped_connections(context):
    proxy = DroppingProxy(context.env["DISPLAY"], 3)
    try:
        env = dict(context.env, DISPLAY=":%d" % proxy.number)
        with Case("a display server that drops the first connections", context, SCREEN, env=env,
                  arguments=()) as case:
            case.wait_for(lambda: visible_windows(case.context.env, "^Dotvane v"), 15, "main window")
            if proxy.dropped != 3:
                fail("%s: the proxy dropped %d connections" % (case.name, proxy.dropped))
            case.wait_for(case.shows_rows, 15, "screen on the glass")
            case.stop()
    finally:
        proxy.close()


class Context:
    def __init__(self, program, tool, env, blank_within):
        self.program, self.tool, self.env, self.blank_within = program, tool, env, blank_within


GROUPS = {
    "output": [full_standard_error, closed_output, reader_gone, blocked_signals, many_signals],
    "states": [silent_web_server, busy_check],
    "window": [startup_box, running_box, dropped_connections],
}


def main():
    program, tool, simport = (os.path.abspath(arg) for arg in sys.argv[1:4])
    group = sys.argv[4]
    blank_within = float(sys.argv[5]) if len(sys.argv) > 5 else 1.0
    env = without_display(dict(os.environ, LD_LIBRARY_PATH=simport))
    if group != "window":
        context = Context(program, tool, env, blank_within)
        for case in GROUPS[group]:
            case(context)
        print("PASS")
        return
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp()
    try:
        context = Context(program, tool, dict(env, DISPLAY=display, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb"),
                          blank_within)
        for case in GROUPS[group]:
            case(context)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)
    print("PASS")


if __name__ == "__main__":
    main()
