"""The saver's settings in the registry after a run: all seventeen values, defaults for what was
missing, out of range or of the wrong type, written back as REG_DWORD."""
import time

import winetest
from winetest import check, SAVER_KEY

DEFAULTS = {
    "Frequency": 30, "Display Width": 0, "Display Height": 0, "Display Bits": 0,
    "F1 Displays Window Border": 1, "F2 Displays Frame Rate": 1, "Display Vesperglow": 1, "Alpha Blending": 1,
    "Twilight Sky": 1, "Stars": 1, "Spherical Weight": 5, "Blast Weight": 5, "Weeping Willow Weight": 5,
    "Sparkling Weight": 5, "Chain Reaction Weight": 5, "Cork Screw Weight": 5, "Waver Weight": 5,
}


def run_once():
    saver, _ = winetest.start_full_screen()
    try:
        winetest.xdotool("key", "a")
        check(saver.wait() == 0, "the saver did not end with 0 after a key press")
    finally:
        saver.stop()


def check_values(expected):
    values = winetest.reg_values(SAVER_KEY)
    check(set(values) == set(expected), "the key holds %s" % sorted(values))
    for name, data in expected.items():
        check(values[name] == ("REG_DWORD", data), "%s is %s, not REG_DWORD %d" % (name, values[name], data))


def defaults_written():
    winetest.reset_saver_key()
    run_once()
    check_values(DEFAULTS)


def bad_values_replaced():
    winetest.reset_saver_key()
    winetest.reg_add(SAVER_KEY, "Frequency", "REG_DWORD", 61)
    winetest.reg_add(SAVER_KEY, "Stars", "REG_SZ", "2")
    winetest.reg_add(SAVER_KEY, "Blast Weight", "REG_DWORD", 11)
    winetest.reg_add(SAVER_KEY, "Display Width", "REG_DWORD", 1024)  # a mode without height and bits
    winetest.reg_add(SAVER_KEY, "Display Bits", "REG_DWORD", 32)
    winetest.reg_add(SAVER_KEY, "Waver Weight", "REG_DWORD", 0)  # legal, stays
    winetest.reg_add(SAVER_KEY, "Twilight Sky", "REG_DWORD", 0)  # legal, stays
    run_once()
    expected = dict(DEFAULTS)
    expected.update({"Waver Weight": 0, "Twilight Sky": 0})
    check_values(expected)


if __name__ == "__main__":
    winetest.main({"defaults-written": defaults_written, "bad-values-replaced": bad_values_replaced})
