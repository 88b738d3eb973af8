"""The full-screen saver on two monitors (Xorg's dummy driver, whose outputs Wine reports as monitors):
each monitor covered by a show of its own, the close rules anywhere, and monitors coming and going."""
import time

import winetest
from e2e import XServer, check, is_firework_colour, log, wait_until

ROOT = (0x3C, 0x9E, 0x1E)  # the root window's colour, which no part of a monitor may show


def is_sky(r, g, b):
    """The violet twilight behind the fireworks."""
    return g <= 8 and r < b


def server_with_monitors(side, mode="800x600"):
    server = XServer("xorg")
    server.run(["xsetroot", "-solid", "#%02x%02x%02x" % ROOT])
    server.add_monitor(side, mode)
    # A Wine started now reads the outputs as they were last probed; listing them probes them again.
    log(server.run(["xrandr", "--listmonitors"]))
    return server


def window_rect(window):
    """The window's rectangle on the virtual screen, or None when it is gone."""
    found = winetest.probe("rect", window)
    return found and [int(word) for word in found]


def check_covered(name, monitors):
    """Each monitor (left, top, right, bottom on the root) shows sky, and no pixel of the root."""
    image = winetest.screenshot(name)
    for box in monitors:
        left, top, right, bottom = box
        sky = image.count(is_sky, box)
        root = image.count(lambda r, g, b: (r, g, b) == ROOT, box)
        log("%s %s: %d sky pixels of %d, %d of the root" % (name, box, sky, (right - left) * (bottom - top), root))
        check(root == 0 and sky >= 0.9 * (right - left) * (bottom - top), "%s: monitor %s is not covered" % (name, box))
    return image


def wait_for_fireworks_on(saver, monitors):
    """After the opening show, fireworks on every monitor (above its horizon), each seen at least once."""
    time.sleep(winetest.OPENING_SECONDS + 1)
    waiting = list(monitors)

    def seen():
        check(saver.running(), "the saver ended on its own")
        image = winetest.screenshot("monitors")
        for left, top, right, bottom in list(waiting):
            if image.count(is_firework_colour, (left, top, right, top + (bottom - top) * 19 // 20)) >= 200:
                waiting.remove((left, top, right, bottom))
        return not waiting
    wait_until(seen, "fireworks on every monitor", 60)


def secondary_right_of_the_primary():
    """Both monitors covered; the secondary unplugged and plugged back; a key ends the saver."""
    with server_with_monitors("right-of") as server, winetest.wine_on(server):
        saver, window = winetest.start_full_screen()
        check(window_rect(window) == [0, 0, 1824, 768], "the window is at %s" % window_rect(window))
        primary, secondary = (0, 0, 1024, 768), (1024, 0, 1824, 600)
        wait_for_fireworks_on(saver, [primary, secondary])
        check_covered("right-of", [primary, secondary])
        server.add_monitor("off")
        wait_until(lambda: window_rect(window) == [0, 0, 1024, 768], "the window to shrink to the primary")
        saver.still_running(2, "when the secondary went")
        check_covered("right-of-unplugged", [primary])
        server.add_monitor("right-of")
        wait_until(lambda: window_rect(window) == [0, 0, 1824, 768], "the window to grow over the secondary")
        saver.still_running(2, "when the secondary came back")
        check_covered("right-of-plugged-again", [primary, secondary])
        winetest.press_key_ends_with_zero(saver)


def secondary_left_of_the_primary():
    """The virtual screen from x = -800, both monitors covered; a drift of six pixels on the secondary
    ends the saver."""
    with server_with_monitors("left-of") as server, winetest.wine_on(server):
        server.xdotool("mousemove", 400, 300)
        saver, window = winetest.start_full_screen()
        check(window_rect(window) == [-800, 0, 1024, 768], "the window is at %s" % window_rect(window))
        # Root coordinates: the secondary at the root's origin, the primary right of it.
        monitors = [(800, 0, 1824, 768), (0, 0, 800, 600)]
        wait_for_fireworks_on(saver, monitors)
        check_covered("left-of", monitors)
        # As for one monitor: the first position seen is where the pointer rested or after the nudge.
        server.xdotool("mousemove", 400, 301)
        saver.still_running(1, "on a nudge of one pixel")
        server.xdotool("mousemove", 406, 301)
        saver.expect_exit(0)


def star_pixels(image, left, right):
    """Where the stars (greyish points brighter than the sky) lie on a monitor, from its left edge, above
    and below the opening show, whose bursts take the same places on both."""
    found, data = set(), image.rgb
    for y in list(range(0, 200)) + list(range(480, 720)):
        for x in range(left, right):
            at = (y * image.width + x) * 3
            r, g, b = data[at], data[at + 1], data[at + 2]
            if g >= 40 and max(r, g, b) - min(r, g, b) < 60:
                found.add((x - left, y))
    return found


def equal_monitors_play_different_shows():
    """Two 1024x768 monitors: their star fields differ from the first frame."""
    with server_with_monitors("right-of", "1024x768") as server, winetest.wine_on(server):
        saver = winetest.start_saver("/s")
        winetest.wait_for_window(winetest.SAVER_CLASS, "Screen Saver")
        time.sleep(1)
        image = winetest.screenshot("equal-monitors")
        first, second = star_pixels(image, 0, 1024), star_pixels(image, 1024, 2048)
        log("star pixels: %d and %d, %d at the same places" % (len(first), len(second), len(first & second)))
        check(len(first) >= 50 and len(second) >= 50, "too few stars to compare")
        check(len(first & second) < min(len(first), len(second)) // 4, "the two monitors show the same stars")
        saver.still_running(0, "while its picture was taken")


if __name__ == "__main__":
    winetest.main(globals())
