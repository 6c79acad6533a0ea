#!/usr/bin/python3
"""Runs the Windows tick benchmark briefly under Wine on a private Xvfb display.

Usage: tick_bench_run.py WINE WINESERVER PREFIX RUNTIME_DIR TICKS

It must measure both screens; the figures are printed, not judged.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winegui import Session, fail  # noqa: E402

session = Session(*sys.argv[1:5])
try:
    status, out = session.tool("bench_tick_win32.exe", sys.argv[5])
    print(out)
    for name in ("CompleteTick", "StillTick"):
        if status != 0 or not re.search(r"(?m)^%s: median [0-9.]+ us, mean [0-9.]+ us over %s ticks$"
                                        % (name, sys.argv[5]), out):
            fail("no measure of %s (exit status %d)" % (name, status))
    print("PASS")
finally:
    session.close()
