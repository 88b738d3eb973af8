"""The Windows simulator under Wine against the Linux one: same seed, size, frame time and frame count
must leave the same records, with every number equal to 1e-9 relative (the C runtimes round sin and
cos differently in the last bits, so bit-for-bit equality is not expected)."""
import os
import subprocess

import winetest
from winetest import check

RELATIVE_TOLERANCE = 1e-9
INTEGER_FIELDS = ["slot", "randomId", "flags", "burstKind", "dead", "burstDue"]
DOUBLE_FIELDS = ["position.x", "position.y", "position.z", "velocity.x", "velocity.y", "velocity.z",
                 "heading", "holdTime", "fadeLeft", "color.x", "color.y", "color.z"]


def split_output(text):
    summary, records = {}, []
    for line in text.splitlines():
        fields = line.split()
        if fields and fields[0].isdigit():
            records.append(fields)
        elif fields and fields[0] != "hash":  # the hash covers the printed digits, which may differ
            summary[" ".join(fields[:-1])] = fields[-1]
    return summary, records


def relative_difference(a, b):
    if a == b:
        return 0.0
    return abs(a - b) / max(abs(a), abs(b))


def compare(arguments, every_kind=False):
    linux = subprocess.run([os.environ["VG_LINUX_SIM"]] + arguments, stdout=subprocess.PIPE, text=True,
                           timeout=winetest.GUARD_SECONDS, check=True).stdout
    _, windows = winetest.wine([os.environ["VG_SIM_EXE"]] + arguments)
    windows = windows.replace("\r\n", "\n")
    linux_summary, linux_records = split_output(linux)
    windows_summary, windows_records = split_output(windows)
    check(linux_summary == windows_summary, "summaries differ:\n%s\n%s" % (linux_summary, windows_summary))
    check(len(linux_records) == len(windows_records),
          "%d records on Linux, %d on Windows" % (len(linux_records), len(windows_records)))
    if every_kind:
        for key, count in linux_summary.items():
            check(not key.startswith("bursts ") or int(count) > 0, "no %s in this run" % key)
    check(len(linux_records) > 100, "too few records to say anything: %d" % len(linux_records))
    largest, where = 0.0, "nothing"
    for lin, win in zip(linux_records, windows_records):
        for i, name in enumerate(INTEGER_FIELDS):
            check(lin[i] == win[i], "slot %s: %s is %s on Linux, %s on Windows" % (lin[0], name, lin[i], win[i]))
        for i, name in enumerate(DOUBLE_FIELDS, start=len(INTEGER_FIELDS)):
            difference = relative_difference(float(lin[i]), float(win[i]))
            if difference > largest:
                largest, where = difference, "slot %s %s: %s against %s" % (lin[0], name, lin[i], win[i])
            check(difference <= RELATIVE_TOLERANCE, "slot %s %s: %s on Linux, %s on Windows" % (lin[0], name, lin[i], win[i]))
    winetest.log("%s: %d records, largest relative difference %.3g (%s)" %
                 (" ".join(arguments), len(linux_records), largest, where))


def saver_frame_time():
    compare(["--seed", "1", "--size", "1024x768", "--dt", "0.016666666666666666", "--frames", "600", "--dump"])


def every_burst_kind():
    # A longer step and the highest launch rate bring every burst kind into 600 frames.
    compare(["--seed", "7", "--size", "800x600", "--dt", "0.1", "--frequency", "60", "--frames", "600", "--dump"],
            every_kind=True)


if __name__ == "__main__":
    winetest.main({"saver-frame-time": saver_frame_time, "every-burst-kind": every_burst_kind})
