"""A stored display mode the display cannot take: the saver says so and ends with exit code 1.
(Wine on Xvfb refuses every mode switch, so this is the failure path; the switch itself is shown by
the Linux host on Xorg's dummy driver.)"""
import winetest
from winetest import check, SAVER_KEY


def unsettable_mode_ends_with_one():
    winetest.reset_saver_key()
    winetest.reg_add(SAVER_KEY, "Display Width", "REG_DWORD", 800)
    winetest.reg_add(SAVER_KEY, "Display Height", "REG_DWORD", 600)
    winetest.reg_add(SAVER_KEY, "Display Bits", "REG_DWORD", 32)
    saver = winetest.start_saver("/s")
    try:
        winetest.dismiss_error_box("Could Not Change Display Mode")
        check(saver.wait() == 1, "the saver did not end with 1 after the failed mode switch")
    finally:
        saver.stop()


if __name__ == "__main__":
    winetest.main({"unsettable-mode": unsettable_mode_ends_with_one})
