"""The preview: /p with the handle of another program's window runs as a child filling that window's
client area without an error, ignores input, and ends with 0 when the window goes, closed or killed.
Wine 8 does not show another process's child window, so the screenshot is only a record."""
import os

import winetest
from e2e import check, wait_until
from winetest import WM_CLOSE, WM_KEYDOWN, WM_LBUTTONDOWN, probe


def start_preview():
    """A stand-in for the control panel, and a preview running inside it."""
    panel = winetest.start(os.environ["VG_PROBE"], "parent")
    parent = int(panel.read_line())
    saver = winetest.start_saver("/p", parent)
    preview = wait_until(lambda: probe("find", winetest.SAVER_CLASS, "-", parent), "the preview window")[0]
    return panel, parent, saver, preview


def runs_inside_and_ignores_input():
    _, parent, saver, preview = start_preview()
    saver.still_running(5, "on its own")
    left, top, right, bottom = probe("rect", preview)
    parent_left, parent_top, parent_right, parent_bottom = probe("rect", parent)
    check((right - left, bottom - top) == (320, 240), "the preview is %dx%d" % (right - left, bottom - top))
    check(parent_left <= left and right <= parent_right and parent_top <= top and bottom <= parent_bottom,
          "the preview lies outside its parent")
    check(winetest.find_window("#32770", "Error") is None, "the preview reported an error")
    winetest.screenshot("preview")
    winetest.xdotool("mousemove", left + 50, top + 50)
    winetest.xdotool("mousemove", left + 150, top + 120)
    winetest.xdotool("click", 1)
    winetest.xdotool("key", "a")
    probe("post", preview, WM_KEYDOWN, 0x41, 0)
    probe("post", preview, WM_LBUTTONDOWN, 1, 0)
    saver.still_running(2, "on input")
    probe("post", parent, WM_CLOSE, 0, 0)
    saver.expect_exit(0)

    panel, _, saver, _ = start_preview()
    saver.still_running(2, "before its parent went")
    panel.stop()
    saver.expect_exit(0)


if __name__ == "__main__":
    winetest.main(globals())
