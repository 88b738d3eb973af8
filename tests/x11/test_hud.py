"""The overlays as a user sees them in the Linux program: the opening title, F2's frame rate and
-fps keeping it on, on an Xvfb of its own (1024x768)."""
import os
import time

from xtest import Saver, XServer, check, log, run_case, scratch_dir, wait_until, write_settings

# The frame rate's glyph squares, 48 pixels high, are centred 5% below the top edge, from x = 20.
RATE_BOX = (0, 0, 320, 90)
# The title is centred a little above the middle; the version line ends near the bottom-right corner.
TITLE_BOX = (250, 230, 780, 400)
VERSION_BOX = (820, 700, 1024, 768)


def is_rate_colour(r, g, b):
    """(0.2, 0.4, 0.6) times a glyph's grey: no star, sky or burst colour keeps these ratios."""
    return b >= 90 and abs(g - b * 2 / 3) <= 12 and abs(r - b / 3) <= 12


def is_title_colour(r, g, b):
    """(0.8, 0.8, 0.2) times a glyph's grey and the fade, on a black sky."""
    return r >= 40 and abs(r - g) <= 6 and abs(b - r / 4) <= 8


def count_in(image, box, predicate):
    x0, y0, x1, y1 = box
    total = 0
    for y in range(y0, min(y1, image.height)):
        for x in range(x0, min(x1, image.width)):
            if predicate(*image.pixel(x, y)):
                total += 1
    return total


def shot(server, window, name):
    return server.screenshot(os.path.join(scratch_dir(), name + ".png"), window)


def rate_pixels(server, window):
    return count_in(shot(server, window, "rate"), RATE_BOX, is_rate_colour)


def opening_shows_the_title():
    # The text adds to what lies behind it: a black sky keeps its colour pure.
    write_settings({"Twilight Sky": 0, "Stars": 0})
    with XServer() as server:
        saver = Saver(server, ["-seed", "3"])
        window = server.find_window()

        def title_on_screen():
            image = shot(server, window, "opening")
            title = count_in(image, TITLE_BOX, is_title_colour)
            version = count_in(image, VERSION_BOX, is_title_colour)
            return (title, version, image.path) if title >= 300 and version >= 40 else None

        title, version, path = wait_until(title_on_screen, "the title and the version line on screen", timeout=30)
        log("title pixels %d, version line pixels %d in %s" % (title, version, path))
        # The title is gone once the opening show is over; no burst of the opening reaches the
        # version line's corner.
        time.sleep(7)
        image = shot(server, window, "after")
        left = count_in(image, VERSION_BOX, is_title_colour)
        check(left < 5, "%d title-coloured pixels remain in the version line's place" % left)
        saver.signal(15)
        saver.expect_exit(0)


def f2_shows_the_frame_rate_while_held():
    with XServer() as server:
        saver = Saver(server, ["-seed", "3"])
        window = server.find_window()
        server.xdotool("windowfocus", "--sync", window)
        time.sleep(0.5)
        check(rate_pixels(server, window) < 5, "a frame rate is shown before F2 is pressed")
        server.xdotool("keydown", "F2")
        wait_until(lambda: rate_pixels(server, window) >= 100, "the frame rate while F2 is held")
        server.xdotool("keyup", "F2")
        wait_until(lambda: rate_pixels(server, window) < 5, "the frame rate to go when F2 is released")
        saver.signal(15)
        saver.expect_exit(0)


def fps_option_keeps_the_frame_rate_on():
    with XServer() as server:
        saver = Saver(server, ["-fps", "-seed", "3"])
        window = server.find_window()
        wait_until(lambda: rate_pixels(server, window) >= 100, "the frame rate with -fps")
        server.xdotool("windowfocus", "--sync", window)
        server.xdotool("keydown", "F2")
        time.sleep(0.3)
        server.xdotool("keyup", "F2")
        time.sleep(0.5)
        kept = rate_pixels(server, window)
        check(kept >= 100, "the frame rate went after F2 was released (%d pixels)" % kept)
        log("frame-rate pixels after F2 went up again: %d" % kept)
        saver.signal(15)
        saver.expect_exit(0)


run_case({
    "opening-title": opening_shows_the_title,
    "f2-frame-rate": f2_shows_the_frame_rate_while_held,
    "fps-option": fps_option_keeps_the_frame_rate_on,
})
