"""Helpers for tests that run the real program on a private X display."""
import hashlib
import os
import struct
import subprocess
import sys
import time


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def start_xvfb():
    """Starts Xvfb on a free display; returns the process and the display name.

    With -noreset: by default an X server resets itself whenever its last
    client leaves, and drops every connection that is still being set up
    while it does. A test that polls with xdotool while the program starts
    would then, now and then, make the server reset just as the program
    connects ("could not connect to display").
    """
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                             "-noreset"],
                            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            fail("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def screenshot(env, window=None):
    """The whole screen, or one window, as rows of (red, green, blue), read from xwd's dump."""
    where = ["-id", window] if window else ["-root"]
    data = subprocess.run(["xwd", "-silent"] + where, env=env, check=True, capture_output=True).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel not in (24, 32):
        fail("unexpected screenshot format %s" % (fields,))
    size = bits_per_pixel // 8
    start = header_size + ncolors * 12
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * size]
        row = []
        for x in range(0, width * size, size):
            value = int.from_bytes(line[x:x + size], "little" if byte_order == 0 else "big")
            row.append(((value >> 16) & 255, (value >> 8) & 255, value & 255))
        rows.append(row)
    return rows


def visible_windows(env, pattern):
    """The ids of the visible windows whose name matches the pattern, at once, without waiting."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], env=env,
                            capture_output=True, text=True)
    return result.stdout.split()


def resident_megabytes(pid):
    """The resident memory of a running process in MB; 0 once it has ended."""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return 0.0


def file_checksums(folder):
    """SHA-256 of every regular file below the folder, by relative name."""
    sums = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as data:
                    sums[os.path.relpath(path, folder)] = hashlib.sha256(data.read()).hexdigest()
    return sums


def exit_through_file_menu(env, window, process, attempts=4):
    """Ends the program with File > Exit; returns its exit code, or None.

    The File menu is opened with the mouse (the keys wait until its window is
    shown) and its second item taken with the keys. A try that leaves the
    program running is undone with Escape and repeated.
    """
    def shown():
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", ""], env=env,
                                capture_output=True, text=True)
        return len(result.stdout.split())

    for _ in range(attempts):
        subprocess.run(["xdotool", "key", "--window", window, "Escape"], env=env, capture_output=True)
        before = shown()
        subprocess.run(["xdotool", "mousemove", "--window", window, "15", "8", "click", "1"], env=env,
                       check=True, capture_output=True)
        deadline = time.monotonic() + 5
        while shown() <= before and time.monotonic() < deadline:
            time.sleep(0.05)
        subprocess.run(["xdotool", "key", "Down", "Down", "Return"], env=env, check=True, capture_output=True)
        try:
            return process.wait(timeout=8)
        except subprocess.TimeoutExpired:
            continue
    return None
