#!/usr/bin/python3
"""Checks the files of a Windows build without running them.

Usage: check_windows_build.py BUILD_FOLDER ARCHITECTURE (i386 or x86-64)

Both programs are GUI programs for the architecture that import only DLLs
every Windows from 7 on has (so nothing the build forgot to link in is
looked for beside them), the plain edition imports no counter library, the
simulated DLPortIO.dll exports the twelve DriverLINX entry points under
their plain names, its driver DLPortIO.SYS is a kernel driver with an entry
point, and the package holds what a user unpacks.
"""
import glob
import os
import re
import subprocess
import sys
import zipfile

SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
               "oleaut32.dll", "pdh.dll", "shell32.dll", "user32.dll", "ws2_32.dll"}
ENTRY_POINTS = {"DlPort%sPort%s%s" % (way, buffer, size) for way in ("Read", "Write") for buffer in ("", "Buffer")
                for size in ("Uchar", "Ushort", "Ulong")}
FORMATS = {"i386": "pei-i386", "x86-64": "pei-x86-64"}
TOOLS = {"i386": "i686-w64-mingw32-objdump", "x86-64": "x86_64-w64-mingw32-objdump"}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def headers(tool, path):
    if not os.path.isfile(path):
        fail("%s is missing" % path)
    return subprocess.run([tool, "-p", path], check=True, capture_output=True, text=True).stdout


def main():
    folder, architecture = sys.argv[1], sys.argv[2]
    tool = TOOLS[architecture]
    for program in ("dotvane", "dotvane-plain"):
        path = os.path.join(folder, "bin", program + ".exe")
        text = headers(tool, path)
        if "file format %s" % FORMATS[architecture] not in text:
            fail("%s is not a %s program" % (path, architecture))
        if not re.search(r"Subsystem\s+00000002", text):
            fail("%s is no GUI program" % path)
        imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", text)}
        if imported - SYSTEM_DLLS:
            fail("%s needs DLLs a Windows does not have: %s" % (path, ", ".join(sorted(imported - SYSTEM_DLLS))))
        if program == "dotvane-plain" and "pdh.dll" in imported:
            fail("the plain edition imports the counter library")
    library = os.path.join(folder, "bin", "simport", "DLPortIO.dll")
    table = headers(tool, library).split("[Ordinal/Name Pointer] Table", 1)[-1].split("\n\n", 1)[0]
    exported = set(re.findall(r"\[\s*\d+\] (\w+)", table))
    if exported != ENTRY_POINTS:
        fail("DLPortIO.dll exports %s" % ", ".join(sorted(exported ^ ENTRY_POINTS)))
    driver = headers(tool, os.path.join(folder, "bin", "simport", "DLPortIO.SYS"))
    if not re.search(r"Subsystem\s+00000001", driver) or re.search(r"AddressOfEntryPoint\s+0+\n", driver):
        fail("simport/DLPortIO.SYS is no kernel driver with an entry point")
    packages = glob.glob(os.path.join(folder, "dotvane-*-win%s.zip" % ("32" if architecture == "i386" else "64")))
    if len(packages) != 1:
        fail("no single Windows package in %s" % folder)
    names = {name.split("/", 1)[1] for name in zipfile.ZipFile(packages[0]).namelist() if "/" in name}
    wanted = {"dotvane.exe", "dotvane-plain.exe", "DOTVANE.INI", "LCDPERF.INI", "README.txt", "screens/default.ini",
              "images/play.bmp", "simport/DLPortIO.dll", "simport/DLPortIO.SYS"}
    if wanted - names:
        fail("the package lacks %s" % ", ".join(sorted(wanted - names)))
    print("PASS")


if __name__ == "__main__":
    main()
