"""Xorg with the dummy driver (Xvfb has one mode and one monitor): the stored display mode of the
full-screen saver, switched at start and back on every way out, or refused with a message and exit
code 1; several monitors, each with a show of its own, in one process or one per monitor."""
import os
import re
import shutil
import signal
import time

from e2e import XServer, check, is_firework_colour, log, run_case, wait_until
from test_modes import is_sky, window_size
from xscreensaver_user import XscreensaverUser
from xtest import OPENING_SECONDS, VESPERGLOW, saver, write_settings

DESKTOP = (1024, 768)


def modes(server):
    """The screen's size and the output's mode size, as xrandr reports them."""
    text = server.run(["xrandr"])
    screen = re.search(r"current (\d+) x (\d+)", text)
    output = re.search(r"DUMMY0 connected (?:primary )?(\d+)x(\d+)\+", text)
    check(screen and output, "unexpected xrandr output: %r" % text)
    return tuple(map(int, screen.groups())), tuple(map(int, output.groups()))


def switched_and_restored_or_refused():
    with XServer("xorg") as server:
        check(modes(server) == (DESKTOP, DESKTOP), "the server does not start at the desktop's mode")
        for (width, height, bits), end, status in [((800, 600, 32), "key", 0), ((640, 480, 24), "SIGTERM", 0),
                                                   ((800, 600, 32), "fatal error", 1)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            wait_until(lambda: modes(server) == ((width, height),) * 2, "the switch to %dx%d" % (width, height))
            window = server.find_window()
            info = server.run(["xwininfo", "-id", window])
            check("Width: %d" % width in info and "Height: %d" % height in info, "the window is not the mode's size")
            program.still_running(1, "after the switch")
            # A fatal error: the server drops the saver's connection, so it can only end, through HostFatalExit.
            {"key": lambda: server.xdotool("key", "a"), "SIGTERM": lambda: program.signal(signal.SIGTERM),
             "fatal error": lambda: server.run(["xkill", "-id", window])}[end]()
            program.expect_exit(status)
            check(status == 0 or "lost the connection to the X server" in program.stderr(), "no message")
            check(modes(server) == (DESKTOP, DESKTOP), "the mode was not restored after a %s" % end)
        # A size the output does not have, and a depth XRandR cannot switch to.
        for width, height, bits in [(1600, 1200, 32), (800, 600, 16)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            program.expect_exit(1)
            check(program.stderr() == "vesperglow: Error: Could Not Change Display Mode\n",
                  "unexpected stderr: %r" % program.stderr())
            check(modes(server) == (DESKTOP, DESKTOP), "the mode changed although it failed")


def monitor_boxes(server):
    """The monitors as (left, top, right, bottom), the primary first."""
    found = re.findall(r"^ *\d+: \+(\*?)\S+ (\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+)",
                       server.run(["xrandr", "--listmonitors"]), re.M)
    boxes = sorted(found, key=lambda found: not found[0])
    return [(int(x), int(y), int(x) + int(w), int(y) + int(h)) for _, w, h, x, y in boxes]


def covering(boxes):
    """A screenshot's test: sky over most of each box, fireworks in it, and none of the root's grey."""
    return lambda image: all(image.count(is_sky, box) > (box[2] - box[0]) * (box[3] - box[1]) // 2 and
                             image.count(is_firework_colour, box) >= 100 and
                             image.count(lambda r, g, b: r == g == b == 0x80, box) == 0 for box in boxes)


def screenshot_until(server, name, test, what="sky and fireworks on every monitor"):
    """The first screenshot that passes the test."""
    image = wait_until(lambda: (lambda image: test(image) and image)(server.screenshot(name)), what, step=1)
    log("%s: %s" % (what, image.path))
    return image


def fullscreen_covers_every_monitor_and_switches_the_primary_only():
    write_settings({"Frequency": 60})
    with XServer("xorg") as server:
        server.run(["xsetroot", "-solid", "#808080"])
        for side in ["right-of", "left-of"]:
            server.add_monitor(side)
            program = saver(server, ["-fullscreen"])
            check(window_size(server, server.find_window()) == (1824, 768), "the window does not cover the screen")
            time.sleep(OPENING_SECONDS)
            screenshot_until(server, "fullscreen-" + side, covering(monitor_boxes(server)))
            for _ in range(1 if side == "right-of" else 6):  # a key, or the drift a pixel at a time
                server.xdotool(*(["key", "a"] if side == "right-of" else ["mousemove_relative", "--", 1, 0]))
                time.sleep(0.2)
            program.expect_exit(0)
        # The primary, right of the other, takes the stored mode; the window follows the screen.
        desktop = monitor_boxes(server)
        write_settings({"Display Width": 800, "Display Height": 600, "Display Bits": 32, "Frequency": 60})
        program = saver(server, ["-fullscreen"])
        wait_until(lambda: monitor_boxes(server) == [(800, 0, 1600, 600), (0, 0, 800, 600)], "the primary's switch")
        wait_until(lambda: window_size(server, server.find_window()) == (1600, 600), "the window following")
        screenshot_until(server, "fullscreen-switched", covering(monitor_boxes(server)))
        program.signal(signal.SIGTERM)
        program.expect_exit(0)
        check(monitor_boxes(server) == desktop, "the primary's mode was not restored")


def star_points(image, box):
    """Where the stars' greys lie, from the box's corner."""
    rgb, left, top, right, bottom = image.rgb, *box
    pixels = ((x, y, rgb[(y * image.width + x) * 3:(y * image.width + x) * 3 + 3])
              for y in range(top, bottom) for x in range(left, right))
    return {(x - left, y - top) for x, y, p in pixels if min(p) >= 70 and max(p) - min(p) <= 40}


def differ_in_stars(image, boxes):
    """The stars in each box's top fifth, above where the opening's bursts flash at fixed places."""
    stars = [star_points(image, (left, top, right, top + (bottom - top) // 5)) for left, top, right, bottom in boxes]
    log("stars: %s, %d alike" % ([len(points) for points in stars], len(stars[0] & stars[1])))
    return min(map(len, stars)) >= 10 and len(stars[0] & stars[1]) * 4 < min(map(len, stars))


def version_pixels(image, box):
    """The opening's version line, low at the monitor's right: a show that has just begun."""
    return image.count(lambda r, g, b: r >= 150 and g >= 130 and b <= 110, (box[2] - 160, box[3] - 40, box[2], box[3]))


def equal_monitors_differ_and_monitors_come_and_go():
    with XServer("xorg") as server:
        server.add_monitor("right-of", mode="1024x768")
        boxes = monitor_boxes(server)
        program = saver(server, ["-fullscreen", "-seed", "3"])
        server.find_window()
        # One look in the opening (its version line shows from 1 s to 6 s): each monitor opens on its
        # own, with the stars of its own seed.
        time.sleep(2.5)
        opening = server.screenshot("equal-opening")
        check(all(version_pixels(opening, box) >= 50 for box in boxes), "no opening on each monitor: " + opening.path)
        check(differ_in_stars(opening, boxes), "the monitors start alike: " + opening.path)
        time.sleep(OPENING_SECONDS)
        server.add_monitor("off")
        wait_until(lambda: window_size(server, server.find_window()) == (1024, 768), "the window to shrink")
        program.still_running(1, "after a monitor went")
        server.add_monitor("left-of")
        primary, added = monitor_boxes(server)
        # The new monitor's show opens; the primary's goes on.
        image = screenshot_until(server, "added", lambda image: version_pixels(image, added) >= 50, "the new one opens")
        check(version_pixels(image, primary) < 10, "the primary's show began again: " + image.path)
        program.signal(signal.SIGTERM)
        program.expect_exit(0)


def xscreensaver_runs_one_process_per_monitor():
    with XServer("xorg") as server, XscreensaverUser("vesperglow-test", server) as user:
        server.add_monitor("right-of", mode="1024x768")
        boxes = monitor_boxes(server)
        program = os.path.join(user.home, "vesperglow")
        shutil.copy(VESPERGLOW, program)
        # One seed for both: only the monitor each window lies on tells the shows apart.
        with open(os.path.join(user.home, ".xscreensaver"), "w") as f:
            f.write("mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\n"
                    "programs: GL: %s --root -seed 9 \\n\n" % program)
        user.start_daemon()
        check(user.command("-activate"), "xscreensaver-command -activate failed")
        wait_until(lambda: len(user.processes(program)) == 2, "one process per monitor")
        server.run(["xsetroot", "-solid", "#808080"])
        image = screenshot_until(server, "xscreensaver-monitors", covering(boxes))
        check(differ_in_stars(image, boxes), "both processes play one show: " + image.path)
        check(user.command("-deactivate"), "xscreensaver-command -deactivate failed")
        wait_until(lambda: not user.processes(program), "the processes ending")
        check(not user.saver_errors(), "errors: %s" % user.saver_errors())


if __name__ == "__main__":
    run_case(globals(), tools=("Xorg", "xrandr", "xdotool", "xwininfo", "xkill", "xsetroot", "xscreensaver"))
