"""The saver run full screen with /s: it shows fireworks, ends on a key and on a mouse drift of more
than 5 pixels but not on jitter within 5, and a second start leaves the first one running."""
import os
import time

import winetest
from winetest import check

OPENING_SHOW_SECONDS = 6
# Firework stars are bright and saturated; the twilight glow is dark violet and the stars are grey.
FIREWORK_BRIGHTNESS = 120
FIREWORK_SATURATION = 60
FIREWORK_PIXELS_WANTED = 200


def firework_pixels(raw):
    """Bright, saturated pixels above the bottom twentieth of the screen, where the horizon lies."""
    count = 0
    for y in range(0, winetest.SCREEN_HEIGHT * 19 // 20, 2):
        row = y * winetest.SCREEN_WIDTH * 3
        for x in range(0, winetest.SCREEN_WIDTH, 2):
            r, g, b = raw[row + 3 * x], raw[row + 3 * x + 1], raw[row + 3 * x + 2]
            high, low = max(r, g, b), min(r, g, b)
            if high >= FIREWORK_BRIGHTNESS and high - low >= FIREWORK_SATURATION:
                count += 1
    return count


def press_key_ends_with_zero(saver):
    winetest.xdotool("key", "a")
    check(saver.wait() == 0, "the saver did not end with 0 after a key press")


def shows_fireworks_and_ends_on_key():
    winetest.reset_saver_key()
    saver, _ = winetest.start_full_screen()
    try:
        time.sleep(OPENING_SHOW_SECONDS + 1)
        best = 0
        deadline = time.time() + 60
        while best < FIREWORK_PIXELS_WANTED and time.time() < deadline:
            shot = os.path.join(winetest.output_dir(), "full-screen.png")
            best = max(best, firework_pixels(winetest.screenshot(shot)))
            check(saver.running(), "the saver ended on its own")
        winetest.log("firework-coloured pixels (every fourth pixel sampled): %d" % best)
        check(best >= FIREWORK_PIXELS_WANTED, "no fireworks on the screen after the opening show")
        press_key_ends_with_zero(saver)
    finally:
        saver.stop()


def move_mouse(x, y):
    winetest.xdotool("mousemove", x, y)
    time.sleep(0.3)


def start_with_pointer_at(x, y):
    """Starts the saver with the pointer resting at (x, y), then nudges it one pixel down. The first
    position the saver sees is either (x, y) (Wine reports the pointer when the window appears under
    it, though not every time) or (x, y + 1): the same column either way."""
    move_mouse(x, y)
    saver, _ = winetest.start_full_screen()
    move_mouse(x, y + 1)
    return saver


def drift_of_six_pixels_ends_it():
    winetest.reset_saver_key()
    saver = start_with_pointer_at(600, 300)
    try:
        for x in range(601, 606):  # a slow drift, one pixel at a time, up to 5 pixels away
            move_mouse(x, 301)
        time.sleep(1)
        check(saver.running(), "the saver ended within 5 pixels of drift")
        move_mouse(606, 301)
        check(saver.wait() == 0, "the saver did not end with 0 on a drift of 6 pixels")
    finally:
        saver.stop()


def jitter_of_five_pixels_does_not():
    winetest.reset_saver_key()
    saver = start_with_pointer_at(400, 400)
    try:
        # Each within 5 pixels of both (400, 400) and (400, 401) on either axis.
        for x, y in [(405, 401), (395, 401), (400, 405), (400, 396), (405, 405), (395, 396), (403, 398), (400, 400)]:
            move_mouse(x, y)
        time.sleep(2)
        check(saver.running(), "mouse jitter within 5 pixels ended the saver")
        press_key_ends_with_zero(saver)
    finally:
        saver.stop()


def second_start_leaves_the_first():
    winetest.reset_saver_key()
    first, window = winetest.start_full_screen()
    try:
        second = winetest.start_saver("/s")
        check(second.wait() == 0, "the second start did not exit with 0")
        time.sleep(2)
        check(first.running(), "the first saver ended when a second was started")
        check(winetest.find_window(winetest.SAVER_CLASS, "Screen Saver") == window, "the first saver's window is gone")
        press_key_ends_with_zero(first)
    finally:
        first.stop()


if __name__ == "__main__":
    winetest.main({
        "shows-fireworks-and-ends-on-key": shows_fireworks_and_ends_on_key,
        "drift-of-six-pixels-ends-it": drift_of_six_pixels_ends_it,
        "jitter-of-five-pixels-does-not": jitter_of_five_pixels_does_not,
        "second-start-leaves-the-first": second_start_leaves_the_first,
    })
