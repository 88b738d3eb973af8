"""The saver by its command line: refused switches; /s drawing fireworks, alone when started twice,
and its ways out; the registry afterwards; a stored display mode the display cannot take (Wine on
Xvfb refuses every switch, so only that path shows here; the switch is the Xorg dummy driver test's)."""
import os
import time

import winetest
from e2e import SAVER_DEFAULTS, check
from winetest import SAVER_KEY


def refused_switches():
    for arguments in (["/x"], ["/p"], ["/p", "123456"], ["-P", "4294967296"], ["/a"]):
        status, _ = winetest.wine(os.environ["VG_SCR"], *arguments, check_status=False)
        check(status == 255, "%s exited with %d, not 255 (-1)" % (" ".join(arguments), status))
    check(winetest.find_window(winetest.SAVER_CLASS, "-") is None, "a refused start left a saver window")


def expect_registry(expected):
    values = winetest.reg_values(SAVER_KEY)
    check(values == {name: ("REG_DWORD", data) for name, data in expected.items()}, "the key holds %s" % values)


def shows_fireworks_stays_alone_ends_on_key_and_leaves_the_defaults():
    saver, window = winetest.start_full_screen()
    winetest.wait_for_fireworks(saver)
    # No frames while the display is off (SC_MONITORPOWER 2); they come back when it is on (-1).
    winetest.probe("post", window, 0x112, 0xF170, 2)
    off = saver.cpu_seconds_over(3)
    winetest.probe("post", window, 0x112, 0xF170, -1)
    on = saver.cpu_seconds_over(3)
    check(off < on / 3, "CPU seconds in 3 s: %.2f with the display off, %.2f on" % (off, on))
    # A second start leaves the first saver running.
    winetest.start_saver("/s").expect_exit(0)
    saver.still_running(2, "when a second was started")
    check(winetest.find_window(winetest.SAVER_CLASS, "Screen Saver") == window, "the first saver's window is gone")
    winetest.press_key_ends_with_zero(saver)
    expect_registry(SAVER_DEFAULTS)


def move_mouse(x, y):
    winetest.xdotool("mousemove", x, y)
    time.sleep(0.3)


def jitter_of_five_pixels_does_not_end_it_a_drift_of_six_does():
    # The first position the saver sees is either where the pointer rested when the window appeared
    # (Wine reports it then, though not every time) or after the nudge one pixel down: the same
    # column either way, and every point below is within 5 pixels of both on either axis.
    move_mouse(400, 400)
    saver, _ = winetest.start_full_screen()
    move_mouse(400, 401)
    for x, y in [(405, 401), (395, 401), (400, 405), (400, 396), (405, 405), (395, 396), (403, 398), (400, 400)]:
        move_mouse(x, y)
    saver.still_running(2, "on mouse jitter within 5 pixels")
    for x in range(401, 406):  # a slow drift, one pixel at a time, up to 5 pixels away
        move_mouse(x, 401)
    saver.still_running(1, "within 5 pixels of drift")
    move_mouse(406, 401)
    saver.expect_exit(0)


def bad_values_are_replaced():
    for name, kind, data in [("Frequency", "REG_DWORD", 61), ("Stars", "REG_SZ", "2"),
                             ("Blast Weight", "REG_DWORD", 11),
                             ("Display Width", "REG_DWORD", 1024), ("Display Bits", "REG_DWORD", 32),  # no height
                             ("Waver Weight", "REG_DWORD", 0), ("Twilight Sky", "REG_DWORD", 0)]:  # legal, stay
        winetest.reg_add(SAVER_KEY, name, kind, data)
    # Wine traces each value write; only the values that differ are written, none on a second start.
    os.environ["VG_WINEDEBUG"] = "+reg"
    for expected in [set(SAVER_DEFAULTS) - {"Waver Weight", "Twilight Sky"}, set()]:
        saver, _ = winetest.start_full_screen()
        winetest.press_key_ends_with_zero(saver)
        writes = [name for line in saver.stderr().splitlines() if "NtSetValueKey" in line
                  for name in SAVER_DEFAULTS if 'L"%s"' % name in line]
        check(sorted(writes) == sorted(expected), "the saver wrote %s" % writes)
        expect_registry(dict(SAVER_DEFAULTS, **{"Waver Weight": 0, "Twilight Sky": 0}))


def unsettable_mode_ends_with_one():
    for name, data in [("Display Width", 800), ("Display Height", 600), ("Display Bits", 32)]:
        winetest.reg_add(SAVER_KEY, name, "REG_DWORD", data)
    saver = winetest.start_saver("/s")
    winetest.dismiss_error_box("Could Not Change Display Mode")
    saver.expect_exit(1)


if __name__ == "__main__":
    winetest.main(globals())
