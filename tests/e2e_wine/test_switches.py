"""Command lines the saver refuses: exit code -1 (255 to the shell), no window."""
import os

import winetest
from winetest import check


def refused_switches():
    for arguments in (["/x"], ["/p"], ["/p", "123456"], ["-P", "4294967296"], ["/a"]):
        status, _ = winetest.wine([os.environ["VG_SCR"]] + arguments, check_status=False)
        check(status == 255, "%s exited with %d, not 255 (-1)" % (" ".join(arguments), status))
    check(winetest.find_window(winetest.SAVER_CLASS, "-") is None, "a refused start left a saver window")


if __name__ == "__main__":
    winetest.main({"refused": refused_switches})
