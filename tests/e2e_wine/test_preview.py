"""The preview: /p with the handle of another program's window runs as a child filling that window's
client area, sets up its GL context without an error, ignores keys and the mouse, and ends with 0
when the window goes away. Wine 8 does not put a child window of another process on the screen
(it has no X window of its own, and the parent's surface belongs to the parent), so the preview's
pixels cannot be looked at here; the screenshot is kept only as a record."""
import os
import time

import winetest
from winetest import check

def runs_inside_and_ignores_input():
    winetest.reset_saver_key()
    parent = winetest.Program([os.environ["VG_PREVIEW_PARENT"]])
    saver = None
    try:
        parent_window = int(parent.read_line())
        saver = winetest.start_saver("/p", parent_window)
        child = []
        winetest.wait_until(lambda: child.append(winetest.probe("find-child", parent_window, winetest.SAVER_CLASS))
                            or child[-1] is not None, "the preview window inside the parent")
        preview = int(child[-1][0])
        time.sleep(5)
        left, top, right, bottom = winetest.window_rect(preview)
        parent_left, parent_top, parent_right, parent_bottom = winetest.window_rect(parent_window)
        check((right - left, bottom - top) == (320, 240), "the preview is %dx%d" % (right - left, bottom - top))
        check(parent_left <= left and right <= parent_right and parent_top <= top and bottom <= parent_bottom,
              "the preview lies outside its parent")
        check(winetest.find_window("#32770", "Error") is None, "the preview reported an error")
        check(saver.running(), "the preview ended on its own")
        winetest.screenshot(os.path.join(winetest.output_dir(), "preview.png"))
        winetest.xdotool("mousemove", left + 50, top + 50)
        winetest.xdotool("mousemove", left + 150, top + 120)
        winetest.xdotool("click", 1)
        winetest.xdotool("key", "a")
        winetest.probe("post", preview, winetest.WM_KEYDOWN, 0x41, 0)
        winetest.probe("post", preview, winetest.WM_LBUTTONDOWN, 1, 0)
        time.sleep(2)
        check(saver.running(), "the preview ended on input")

        winetest.probe("post", parent_window, winetest.WM_CLOSE, 0, 0)
        check(saver.wait() == 0, "the preview did not end with 0 when its parent went away")
    finally:
        parent.stop()
        if saver:
            saver.stop()


if __name__ == "__main__":
    winetest.main({"runs-inside-and-ignores-input": runs_inside_and_ignores_input})
