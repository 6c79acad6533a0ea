#!/usr/bin/python3
"""The Debian package, built from the build tree and used as Debian users do.

Usage: debian_package_test.py BUILD_DEB BUILD_FOLDER

Builds the package in the Debian revisions 1 and 2, checks the first with
lintian (only the tags in lintian-allowed.txt, each still reported) and its
manual page with groff -ww. Then dpkg installs, upgrades, removes and purges
it in a chroot on an overlay over / in a mount namespace of its own, so the
host's libraries satisfy the dependencies and the host stays unchanged; the
installed programs run there. Needs root; a missing tool fails the test.
"""
import gzip
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAM_DIR = "/usr/lib/dotvane"
CONFIG_DIR = "/etc/dotvane"
UNIT = "/lib/systemd/system/dotvane.service"
ENABLED_LINK = "/etc/systemd/system/multi-user.target.wants/dotvane.service"
# What the package installs as a link, and where each link points.
LINKS = [
    ("/usr/bin/dotvane", "../lib/dotvane/dotvane"),
    ("/usr/bin/dotvane-plain", "../lib/dotvane/dotvane-plain"),
    (PROGRAM_DIR + "/DOTVANE.INI", CONFIG_DIR + "/DOTVANE.INI"),
    (PROGRAM_DIR + "/LCDPERF.INI", CONFIG_DIR + "/LCDPERF.INI"),
    (PROGRAM_DIR + "/screens", CONFIG_DIR + "/screens"),
    (PROGRAM_DIR + "/images", CONFIG_DIR + "/images"),
    ("/usr/share/man/man1/dotvane-plain.1.gz", "dotvane.1.gz"),
]
FILES = [PROGRAM_DIR + "/dotvane", PROGRAM_DIR + "/dotvane-plain", PROGRAM_DIR + "/libdlportio.so", UNIT,
         "/usr/share/man/man1/dotvane.1.gz", "/usr/share/doc/dotvane/copyright",
         "/usr/share/doc/dotvane/changelog.Debian.gz"]

# The user's edit: the T6963C on a device that does not exist, and a screen
# file of the user's own with one icon that exists and one that does not.
MISSING_DEVICE = "/nonexistent/parport9"
EDITED_SETTINGS = "[LCD]\nType=0\n\n[Port]\nDevice=%s\n\n[Screens]\nScreenFile=screens\\user.ini\n" % MISSING_DEVICE
USER_SCREENS = '[Screen0]\nEnable=1\nLine0="Packaged"\nIcon0="images\\play.bmp(0,40)"\nIcon1="images\\gone.bmp(20,40)"\n'
PORT_MESSAGE = MISSING_DEVICE + ": no such device"
MISSING_ICON = "Could not load or display icon images\\gone.bmp"
FOUND_ICON = "images\\play.bmp"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


# Every step ends before this many seconds have passed since the start, so
# that the scratch folder is removed before CTest's own limit (600 s) ends
# the test.
BUDGET = 540
DEADLINE = time.monotonic() + BUDGET


def within_budget(timeout):
    return max(1, min(timeout, DEADLINE - time.monotonic()))


def run(command, timeout=120):
    timeout = within_budget(timeout)
    try:
        result = subprocess.run(command, capture_output=True, text=True, timeout=timeout,
                                stdin=subprocess.DEVNULL)
    except FileNotFoundError:
        fail("%s is missing (scripts/install-deps.sh installs it)" % command[0])
    except subprocess.TimeoutExpired:
        fail("%s did not end within %.0f s" % (" ".join(command), timeout))
    if result.returncode != 0:
        fail("%s: status %d\n%s%s" % (" ".join(command), result.returncode, result.stdout, result.stderr))
    return result.stdout


def field(package, name):
    return run(["dpkg-deb", "--field", package, name]).strip()


def allowed_tags():
    """The allowed lintian tags, each with the reason given for it."""
    allowed = {}
    with open(os.path.join(HERE, "lintian-allowed.txt")) as listing:
        for line in listing:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            tag, _, reason = line.partition(" ")
            if not reason.strip():
                fail("lintian-allowed.txt gives no reason for %s" % tag)
            allowed[tag] = reason.strip()
    return allowed


def check_lintian(package):
    output = run(["lintian", "--display-info", "--fail-on", "none", package], timeout=240)
    reported = {}
    for line in output.splitlines():
        match = re.match(r"^[EWIPX]: dotvane[^:]*: (\S+)", line)
        if match:
            reported.setdefault(match.group(1), []).append(line)
    allowed = allowed_tags()
    unexpected = [line for tag, lines in reported.items() if tag not in allowed for line in lines]
    if unexpected:
        fail("lintian reports tags that are not allowed:\n" + "\n".join(unexpected))
    stale = sorted(set(allowed) - set(reported))
    if stale:
        fail("lintian no longer reports %s; take them out of lintian-allowed.txt" % ", ".join(stale))
    print("lintian: only the allowed tags (%s)" % ", ".join(sorted(reported)) if reported else "lintian: no tags")


def check_manual_page(package, scratch):
    tree = os.path.join(scratch, "contents")
    run(["dpkg-deb", "--extract", package, tree])
    with gzip.open(os.path.join(tree, "usr/share/man/man1/dotvane.1.gz"), "rt") as page:
        source = page.read()
    if re.search(r"@[A-Z]+@", source):
        fail("the manual page keeps a placeholder")
    result = subprocess.run(["groff", "-ww", "-man", "-z"], input=source, capture_output=True, text=True)
    if result.returncode != 0 or result.stderr:
        fail("groff warns about the manual page: %d %s" % (result.returncode, result.stderr))
    print("manual page: formats without warnings")


class ScratchRoot:
    """An overlay over / in this process's own mount namespace, as a root for chroot."""

    def __init__(self, folder):
        self.folder = folder
        self.root = os.path.join(folder, "root")
        run(["mount", "-t", "tmpfs", "tmpfs", folder])
        for part in ("upper", "work", "root"):
            os.mkdir(os.path.join(folder, part))
        run(["mount", "-t", "overlay", "overlay", "-o", "lowerdir=/,upperdir=%s/upper,workdir=%s/work" % (folder, folder),
             self.root])
        run(["mount", "-t", "proc", "proc", self.path("/proc")])
        run(["mount", "--rbind", "/dev", self.path("/dev")])

    def path(self, inside):
        return os.path.join(self.root, inside.lstrip("/"))

    def command(self, *command, folder="/"):
        return ["chroot", self.root, "env", "--ignore-environment", "--chdir=" + folder,
                "PATH=/usr/sbin:/usr/bin:/sbin:/bin", "LC_ALL=C.UTF-8"] + list(command)

    def run(self, *command):
        return run(self.command(*command))

    def read(self, inside):
        with open(self.path(inside)) as text:
            return text.read()

    def write(self, inside, text):
        with open(self.path(inside), "w") as out:
            out.write(text)


def installed_version(scratch):
    return scratch.run("dpkg-query", "--showformat=${Status} ${Version}", "--show", "dotvane")


def check_layout(scratch):
    for link, target in LINKS:
        if not os.path.islink(scratch.path(link)) or os.readlink(scratch.path(link)) != target:
            fail("%s is not a link to %s" % (link, target))
    for each in FILES:
        if not os.path.isfile(scratch.path(each)) or os.path.islink(scratch.path(each)):
            fail("%s is not installed as a file" % each)
    listed = {line.split()[0] for line in scratch.run("dpkg-query", "--showformat=${Conffiles}", "--show",
                                                       "dotvane").splitlines() if line.strip()}
    present = set()
    for folder, _, names in os.walk(scratch.path(CONFIG_DIR)):
        present |= {os.path.join(folder, name)[len(scratch.root):] for name in names}
    if not present or listed != present:
        fail("the configuration files are %s, the files in %s %s" % (sorted(listed), CONFIG_DIR, sorted(present)))
    if os.path.lexists(scratch.path(ENABLED_LINK)):
        fail("installing the package enabled the unit")
    # The unit's program and manual page are where it says.
    verified = subprocess.run(scratch.command("systemd-analyze", "verify", UNIT), capture_output=True, text=True)
    if verified.returncode != 0 or "dotvane" in verified.stdout + verified.stderr:
        fail("systemd-analyze verify: %d %s" % (verified.returncode, verified.stdout + verified.stderr))
    print("installed: %d links, %d files, %d configuration files; the unit verifies and is not enabled"
          % (len(LINKS), len(FILES), len(listed)))


def unit_setting(scratch, key):
    values = [line.split("=", 1)[1].strip() for line in scratch.read(UNIT).splitlines() if line.startswith(key + "=")]
    if len(values) != 1:
        fail("the unit has %s for %s" % (values, key))
    return values[0]


def check_versions(scratch, build):
    for program in ("dotvane", "dotvane-plain"):
        expected = run([os.path.join(build, "bin", program), "--version"])
        shown = scratch.run("/usr/bin/" + program, "--version")
        if shown != expected:
            fail("/usr/bin/%s --version says %r, the build %r" % (program, shown, expected))
        print("/usr/bin/%s --version: %s" % (program, shown.strip()))


def caught_signals(pid):
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("SigCgt:"):
                    return int(line.split()[1], 16)
    except FileNotFoundError:
        pass
    return 0


def check_headless(scratch):
    """dotvane --headless where the unit starts it, until SIGTERM ends it."""
    command = unit_setting(scratch, "ExecStart").split()
    folder = unit_setting(scratch, "WorkingDirectory")
    if command[1:] != ["--headless"]:
        fail("the unit starts %s" % command)
    errors_path = os.path.join(scratch.folder, "stderr.txt")
    with open(errors_path, "w") as errors:
        program = subprocess.Popen(scratch.command(*command, folder=folder), stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=errors)
    try:
        deadline = time.monotonic() + 60
        while True:
            said = open(errors_path, errors="replace").read()
            term_caught = caught_signals(program.pid) & (1 << (signal.SIGTERM - 1))
            if term_caught and PORT_MESSAGE in said and MISSING_ICON in said:
                break
            if program.poll() is not None:
                fail("dotvane --headless ended with status %d: %s" % (program.returncode, said))
            if time.monotonic() > deadline:
                fail("dotvane --headless did not report the device and the icon: %r" % said)
            time.sleep(0.1)
        # Icons are drawn in their order, so the one that exists was drawn
        # before the one whose message is there.
        if FOUND_ICON in said:
            fail("the image in %s did not load: %s" % (folder, said))
        program.send_signal(signal.SIGTERM)
        status = program.wait(timeout=60)
        if status != 0:
            fail("SIGTERM ended dotvane --headless with status %d" % status)
        print("%s --headless in %s: read the edited settings, ended with status 0 on SIGTERM" % (command[0], folder))
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


def inside_namespace(folder, first, second, build):
    scratch = ScratchRoot(folder)
    for package in (first, second):
        shutil.copy(package, scratch.path("/tmp"))
    first_inside, second_inside = ("/tmp/" + os.path.basename(each) for each in (first, second))

    scratch.run("dpkg", "--install", first_inside)
    check_layout(scratch)
    check_versions(scratch, build)
    scratch.write(CONFIG_DIR + "/DOTVANE.INI", EDITED_SETTINGS)
    scratch.write(CONFIG_DIR + "/screens/user.ini", USER_SCREENS)
    check_headless(scratch)
    scratch.run("systemctl", "enable", "dotvane.service")
    if not os.path.islink(scratch.path(ENABLED_LINK)):
        fail("systemctl enable made no link %s" % ENABLED_LINK)

    steps = [
        # (what dpkg does, its arguments, the status it leaves, whether the programs are there)
        ("upgrade", ["--install", second_inside], "install ok installed " + field(second, "Version"), True),
        ("remove", ["--remove", "dotvane"], "deinstall ok config-files " + field(second, "Version"), False),
    ]
    for step, arguments, status, programs in steps:
        scratch.run("dpkg", *arguments)
        if installed_version(scratch) != status:
            fail("after the %s the package is %r, not %r" % (step, installed_version(scratch), status))
        if scratch.read(CONFIG_DIR + "/DOTVANE.INI") != EDITED_SETTINGS:
            fail("the %s did not keep the edited DOTVANE.INI" % step)
        if os.path.exists(scratch.path("/usr/bin/dotvane")) != programs:
            fail("after the %s /usr/bin/dotvane is %s" % (step, "there" if not programs else "gone"))
        print("%s: the edited DOTVANE.INI is kept, the package is %s" % (step, status))

    scratch.run("dpkg", "--purge", "dotvane")
    for gone in (CONFIG_DIR + "/DOTVANE.INI", CONFIG_DIR + "/screens/default.ini", ENABLED_LINK):
        if os.path.lexists(scratch.path(gone)):
            fail("the purge left %s" % gone)
    if subprocess.run(scratch.command("dpkg-query", "--show", "dotvane"), capture_output=True).returncode == 0:
        fail("the purge left the package known to dpkg")
    print("purge: the configuration files and the unit's link are gone")


def main():
    if sys.argv[1] == "--inside":
        inside_namespace(*sys.argv[2:6])
        print("PASS")
        return
    build_deb, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if os.geteuid() != 0:
        fail("installing the package in a mount namespace needs root")
    scratch = tempfile.mkdtemp(prefix="dotvane-package-")
    try:
        started = time.monotonic()
        first, second = (run(["bash", build_deb, build, scratch, revision]).strip() for revision in ("1", "2"))
        versions = [field(each, "Version") for each in (first, second)]
        release = run([os.path.join(build, "bin", "dotvane"), "--version"]).split()[2]
        for older, newer in ((versions[0], versions[1]), (versions[0], release)):
            if subprocess.run(["dpkg", "--compare-versions", older, "lt", newer]).returncode != 0:
                fail("%s does not sort before %s" % (older, newer))
        print("built %s and %s in %.0f s; %s sorts before %s" % (os.path.basename(first), os.path.basename(second),
                                                                time.monotonic() - started, versions[0], release))
        check_lintian(first)
        check_manual_page(first, scratch)
        namespace = os.path.join(scratch, "namespace")
        os.mkdir(namespace)
        try:
            result = subprocess.run(["unshare", "--mount", "--propagation", "private", sys.executable,
                                     os.path.abspath(__file__), "--inside", namespace, first, second, build],
                                    stdin=subprocess.DEVNULL, timeout=within_budget(240))
        except FileNotFoundError:
            fail("unshare is missing (util-linux)")
        except subprocess.TimeoutExpired:
            fail("the scratch root's steps did not end within the test's %d s" % BUDGET)
        if result.returncode != 0:
            sys.exit(result.returncode)
        print("PASS in %.0f s" % (time.monotonic() - started))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
