"""The Windows simulator under Wine against the Linux one: same seed, size, frame time and frame count
must leave the same records, with every number equal to 1e-9 relative (the C runtimes round sin and
cos differently in the last bits, so bit-for-bit equality is not expected)."""
import os

import winetest
from e2e import check, log, run

RELATIVE_TOLERANCE = 1e-9
INTEGER_FIELDS = ["slot", "randomId", "flags", "burstKind", "dead", "burstDue"]
DOUBLE_FIELDS = ["position.x", "position.y", "position.z", "velocity.x", "velocity.y", "velocity.z",
                 "heading", "holdTime", "fadeLeft", "color.x", "color.y", "color.z"]


def split_output(text):
    summary, records = {}, []
    for fields in (line.split() for line in text.splitlines()):
        if fields and fields[0].isdigit():
            records.append(fields)
        elif fields and fields[0] != "hash":  # the hash covers the printed digits, which may differ
            summary[" ".join(fields[:-1])] = fields[-1]
    return summary, records


def compare(arguments, every_kind=False):
    linux_summary, linux = split_output(run([os.environ["VG_LINUX_SIM"]] + arguments)[1])
    windows_summary, windows = split_output(winetest.wine(os.environ["VG_SIM_EXE"], *arguments)[1])
    check(linux_summary == windows_summary, "summaries differ:\n%s\n%s" % (linux_summary, windows_summary))
    check(len(linux) == len(windows), "%d records on Linux, %d on Windows" % (len(linux), len(windows)))
    check(len(linux) > 100, "too few records to say anything: %d" % len(linux))
    if every_kind:
        check(all(int(count) > 0 for key, count in linux_summary.items() if key.startswith("bursts ")),
              "not every burst kind in this run: %s" % linux_summary)
    largest, where = 0.0, "nothing"
    for lin, win in zip(linux, windows):
        for i, name in enumerate(INTEGER_FIELDS + DOUBLE_FIELDS):
            a, b = float(lin[i]), float(win[i])
            difference = 0.0 if a == b else abs(a - b) / max(abs(a), abs(b))
            check(difference <= (RELATIVE_TOLERANCE if name in DOUBLE_FIELDS else 0),
                  "slot %s %s: %s on Linux, %s on Windows" % (lin[0], name, lin[i], win[i]))
            if difference > largest:
                largest, where = difference, "slot %s %s: %s against %s" % (lin[0], name, lin[i], win[i])
    log("%s: %d records, largest relative difference %.3g (%s)" % (" ".join(arguments), len(linux), largest, where))


def numbers_refused_alike():
    """unsigned long is 32 bits on Windows: a seed past 32 bits must not wrap or saturate there."""
    for value in ["4294967296", "18446744073709551617", "+5", " 5", "0x10"]:
        statuses = [run([os.environ["VG_LINUX_SIM"], "--frames", "1", "--seed", value], check_status=False)[0],
                    winetest.wine(os.environ["VG_SIM_EXE"], "--frames", "1", "--seed", value, check_status=False)[0]]
        check(statuses == [2, 2], "--seed %r: exit codes %s on Linux and Windows" % (value, statuses))


def linux_and_windows_agree():
    numbers_refused_alike()
    compare(["--seed", "1", "--size", "1024x768", "--dt", "0.016666666666666666", "--frames", "600", "--dump"])
    # A longer step and the highest launch rate bring every burst kind into 600 frames.
    compare(["--seed", "7", "--size", "800x600", "--dt", "0.1", "--frequency", "60", "--frames", "600", "--dump"],
            every_kind=True)


if __name__ == "__main__":
    winetest.main(globals())
