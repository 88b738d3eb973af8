"""The settings dialog (/c): a slider moved and OK stores the value and exits with 1, Cancel keeps
the stored value and exits with 0, Escape leaves the dialog open."""
import os
import time

import winetest
from winetest import check, SAVER_KEY

TITLE = "Vesperglow Settings"
FREQUENCY_SLIDER = 3010
OK_BUTTON = 3000
CANCEL_BUTTON = 3001


def click_control(dialog, control):
    left, top, right, bottom = [int(v) for v in winetest.probe("control-rect", dialog, control)]
    winetest.click_at((left + right) // 2, (top + bottom) // 2)


def open_dialog():
    winetest.reset_saver_key()
    dialog_program = winetest.start_saver("/c")
    dialog = winetest.wait_for_window("#32770", TITLE)
    time.sleep(1)
    return dialog_program, dialog


def frequency_to_sixty(dialog):
    click_control(dialog, FREQUENCY_SLIDER)  # gives the slider the focus (and pages it)
    winetest.xdotool("key", "End")
    time.sleep(0.5)


def stored_frequency():
    return winetest.reg_values(SAVER_KEY)["Frequency"]


def ok_stores_the_slider():
    program, dialog = open_dialog()
    try:
        frequency_to_sixty(dialog)
        winetest.screenshot(os.path.join(winetest.output_dir(), "dialog.png"))
        check(stored_frequency() == ("REG_DWORD", 30), "the slider wrote to the registry before OK")
        click_control(dialog, OK_BUTTON)
        check(program.wait() == 1, "OK did not exit with 1")
        check(stored_frequency() == ("REG_DWORD", 60), "after OK Frequency is %s, not 60" % (stored_frequency(),))
    finally:
        program.stop()


def cancel_keeps_the_stored_value():
    program, dialog = open_dialog()
    try:
        frequency_to_sixty(dialog)
        click_control(dialog, CANCEL_BUTTON)
        check(program.wait() == 0, "Cancel did not exit with 0")
        check(stored_frequency() == ("REG_DWORD", 30), "after Cancel Frequency is %s, not 30" % (stored_frequency(),))
    finally:
        program.stop()


def escape_leaves_it_open():
    program, dialog = open_dialog()
    try:
        winetest.xdotool("key", "Escape")
        time.sleep(2)
        check(program.running() and winetest.find_window("#32770", TITLE) == dialog, "Escape closed the dialog")
        click_control(dialog, CANCEL_BUTTON)
        check(program.wait() == 0, "Cancel did not exit with 0")
    finally:
        program.stop()


if __name__ == "__main__":
    winetest.main({
        "ok-stores-the-slider": ok_stores_the_slider,
        "cancel-keeps-the-stored-value": cancel_keeps_the_stored_value,
        "escape-leaves-it-open": escape_leaves_it_open,
    })
