#!/usr/bin/env python3
"""CPU seconds of 30 seconds of the full-screen saver on Wayland (headless sway, one output, as an
ordinary user) beside the same on X11 (Xvfb), at the same size, with each server's CPU over the
same 30 seconds. Run as root from the top of the tree after make build:

    bench/wayland_beside_x11.py

CPU seconds are user + system time from /proc/PID/stat, from 3 s after the start (past start-up)."""
import os
import signal
import sys
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path[:0] = [os.path.join(TOP, "tests", "support"), os.path.join(TOP, "tests", "wayland")]
os.environ.setdefault("VG_VESPERGLOW", os.path.join(TOP, "build", "linux", "host", "x11", "vesperglow"))
from e2e import Process, XServer  # noqa: E402
from sway import VESPERGLOW, Sway  # noqa: E402

ARGS = ["-fullscreen", "-seed", "1"]
TICKS = os.sysconf("SC_CLK_TCK")


def cpu(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def measure(label, saver, server):
    time.sleep(3)
    before, load = (cpu(saver), cpu(server)), os.getloadavg()[0]
    time.sleep(30)
    print("%-34s saver %5.2f CPU s, its server %5.2f CPU s per 30 s (load average %.1f to %.1f)"
          % (label, cpu(saver) - before[0], cpu(server) - before[1], load, os.getloadavg()[0]), flush=True)


with Sway(outputs=1) as sway:
    saver = sway.start([VESPERGLOW] + ARGS, "saver.log")
    measure("Wayland, sway headless 1024x768:", saver.pid, sway.sway.pid)
    saver.send_signal(signal.SIGTERM)
    saver.wait()
with XServer(width=1024, height=768) as server:
    saver = Process([VESPERGLOW, "-x11"] + ARGS, server.env())
    measure("X11, Xvfb 1024x768:", saver.process.pid, server.process.pid)
    saver.signal(signal.SIGTERM)
    saver.wait()
