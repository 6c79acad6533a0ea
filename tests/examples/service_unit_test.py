#!/usr/bin/python3
"""The systemd unit as `cmake --install` puts it beside the programs.

Usage: service_unit_test.py CMAKE BUILD_FOLDER

Installs the build into a fresh prefix and checks the unit there: it starts
the installed program without a window from the prefix, as an unprivileged
user in group lp without capabilities, restarting it when it fails. When
systemd-analyze is there (Debian's systemd package), the unit must also pass
`systemd-analyze verify` without a word about it.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def read_unit(path):
    """The unit's settings as {section: {key: [values]}}."""
    sections = {}
    current = None
    with open(path) as unit:
        for line in unit:
            line = line.strip()
            if not line or line.startswith(("#", ";")):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current.setdefault(key.strip(), []).append(value.strip())
    return sections


def expect(service, key, value):
    if service.get(key) != [value]:
        fail("%s is %s, not %r" % (key, service.get(key), value))


def main():
    cmake, build = sys.argv[1:3]
    prefix = tempfile.mkdtemp(prefix="dotvane-install-")
    try:
        subprocess.run([cmake, "--install", build, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
        path = os.path.join(prefix, "dotvane.service")
        if not os.path.isfile(path):
            fail("no dotvane.service beside the installed programs")
        service = read_unit(path).get("Service", {})
        command = (service.get("ExecStart") or [""])[0].split()
        program = os.path.join(prefix, "dotvane")
        if not command or command[0] != program:
            fail("ExecStart starts %s, not the installed %s" % (command[:1], program))
        if not os.access(program, os.X_OK):
            fail("the installed program %s is missing" % program)
        if command[1:] != ["--headless"]:
            fail("ExecStart passes %s, not --headless" % command[1:])
        expect(service, "WorkingDirectory", prefix)
        expect(service, "Restart", "on-failure")
        expect(service, "SupplementaryGroups", "lp")
        expect(service, "CapabilityBoundingSet", "")
        expect(service, "AmbientCapabilities", "")
        # Qt warns at every start without a run-time folder of its own.
        expect(service, "RuntimeDirectory", "dotvane")
        expect(service, "Environment", "XDG_RUNTIME_DIR=%t/dotvane")
        if service.get("DynamicUser") != ["yes"] and service.get("User", ["root"])[0] in ("root", "0"):
            fail("the service runs as root")
        analyze = shutil.which("systemd-analyze")
        if analyze:
            result = subprocess.run([analyze, "verify", path], capture_output=True, text=True)
            said = [line for line in (result.stdout + result.stderr).splitlines() if "dotvane" in line]
            if result.returncode != 0 or said:
                fail("systemd-analyze verify: %d %s" % (result.returncode, said))
            print("systemd-analyze verify: no complaint")
        else:
            print("systemd-analyze is not installed; the unit was not verified by systemd")
        print("PASS")
    finally:
        shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    main()
