"""The settings dialog (/c): Escape leaves it open; with the frequency slider moved, Cancel keeps the
stored value and exits with 0, and OK stores the new value and exits with 1."""
import time

import winetest
from e2e import check
from winetest import SAVER_KEY, click_control

TITLE = "Vesperglow Settings"
FREQUENCY_SLIDER, OK_BUTTON, CANCEL_BUTTON = 3010, 3000, 3001


def expect_frequency(value, why):
    stored = winetest.reg_values(SAVER_KEY)["Frequency"]
    check(stored == ("REG_DWORD", value), "%s Frequency is %s, not %d" % (why, stored, value))


def escape_cancel_and_ok():
    for button, status, frequency in [(CANCEL_BUTTON, 0, 30), (OK_BUTTON, 1, 60)]:
        program = winetest.start_saver("/c")
        dialog = winetest.wait_for_window("#32770", TITLE)
        time.sleep(1)
        click_control(dialog, FREQUENCY_SLIDER)  # gives the slider the focus (and pages it)
        winetest.xdotool("key", "End")
        time.sleep(0.5)
        expect_frequency(30, "before the button")
        if button == CANCEL_BUTTON:
            winetest.xdotool("key", "Escape")
            program.still_running(2, "on Escape")
            check(winetest.find_window("#32770", TITLE) == dialog, "Escape closed the dialog")
        else:
            winetest.screenshot("dialog")
        click_control(dialog, button)
        program.expect_exit(status)
        expect_frequency(frequency, "after the button")


if __name__ == "__main__":
    winetest.main(globals())
