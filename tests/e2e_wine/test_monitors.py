"""The full-screen saver on two monitors of Xorg's dummy driver: a show on each and no pixel of the
root, the close rules anywhere, and monitors coming and going while it runs."""
import time

import winetest
from e2e import XServer, check, is_firework_colour, log, wait_until

ROOT = (0x3C, 0x9E, 0x1E)  # the root window's colour


def two_monitors(side, mode="800x600"):
    server = XServer("xorg")
    server.run(["xsetroot", "-solid", "#%02x%02x%02x" % ROOT])
    server.add_monitor(side, mode)
    # A Wine started now reads the outputs as last probed; listing them probes them again.
    log(server.run(["xrandr", "--listmonitors"]))
    return server


def window_rect(window):
    found = winetest.probe("rect", window)
    return found and [int(word) for word in found]


def check_covered(saver, name, monitors, window, rect):
    """The window over the virtual screen (rect); after the opening (whose title is firework-coloured)
    fireworks seen on every monitor (boxes on the root), each then all sky but for what is drawn on
    it, and none of the root."""
    wait_until(lambda: window_rect(window) == rect, "the window at %s" % rect)
    time.sleep(winetest.OPENING_SECONDS + 1)
    waiting = list(monitors)

    def seen():
        check(saver.running(), "the saver ended")
        image = winetest.screenshot(name)
        waiting[:] = [box for box in waiting if image.count(is_firework_colour, box) < 200]
        return not waiting and image
    image = wait_until(seen, "fireworks on every monitor", 60)
    for left, top, right, bottom in monitors:
        sky = image.count(lambda r, g, b: g <= 8 and r < b, (left, top, right, bottom))
        root = image.count(lambda r, g, b: (r, g, b) == ROOT, (left, top, right, bottom))
        log("%s %s: %d sky pixels, %d of the root" % (name, (left, top, right, bottom), sky, root))
        check(root == 0 and sky >= 0.9 * (right - left) * (bottom - top), "%s: a monitor is not covered" % name)


def secondary_right_of_the_primary():
    """Both covered; the secondary unplugged and plugged back while the saver runs; a key ends it."""
    with two_monitors("right-of") as server, winetest.wine_on(server):
        saver, window = winetest.start_full_screen()
        both = [(0, 0, 1024, 768), (1024, 0, 1824, 600)]
        check_covered(saver, "right-of", both, window, [0, 0, 1824, 768])
        server.add_monitor("off")
        check_covered(saver, "right-of-unplugged", both[:1], window, [0, 0, 1024, 768])
        server.add_monitor("right-of")
        check_covered(saver, "right-of-plugged-again", both, window, [0, 0, 1824, 768])
        winetest.press_key_ends_with_zero(saver)


def secondary_left_of_the_primary():
    """The virtual screen from x = -800, both covered; a drift of six pixels on the secondary ends it."""
    with two_monitors("left-of") as server, winetest.wine_on(server):
        server.xdotool("mousemove", 400, 300)
        saver, window = winetest.start_full_screen()
        # On the root the secondary lies at the origin, the primary right of it.
        check_covered(saver, "left-of", [(800, 0, 1824, 768), (0, 0, 800, 600)], window, [-800, 0, 1024, 768])
        # As with one monitor: the first position seen is where the pointer rested or after the nudge.
        server.xdotool("mousemove", 400, 301)
        saver.still_running(1, "on a nudge of one pixel")
        server.xdotool("mousemove", 406, 301)
        saver.expect_exit(0)


def stars(image, left):
    """The greyish points brighter than the sky on a 1024-pixel monitor, above and below the opening's
    bursts, which take the same places on every monitor of that size."""
    found = set()
    for y in list(range(0, 200)) + list(range(480, 720)):
        for x in range(1024):
            at = (y * image.width + left + x) * 3
            r, g, b = image.rgb[at:at + 3]
            if g >= 40 and max(r, g, b) - min(r, g, b) < 60:
                found.add((x, y))
    return found


def equal_monitors_play_different_shows():
    with two_monitors("right-of", "1024x768") as server, winetest.wine_on(server):
        winetest.start_saver("/s")
        winetest.wait_for_window(winetest.SAVER_CLASS, "Screen Saver")
        time.sleep(1)
        first, second = (stars(winetest.screenshot("equal-monitors"), left) for left in (0, 1024))
        log("star pixels: %d and %d, %d at the same places" % (len(first), len(second), len(first & second)))
        fewer = min(len(first), len(second))
        check(fewer >= 50 and len(first & second) < fewer // 4, "the two monitors open with the same stars")


if __name__ == "__main__":
    winetest.main(globals())
