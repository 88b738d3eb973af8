"""The consumer platform's password hand-off: with Wine reporting Windows 98 to the saver and
"ScreenSaveUsePassword" set, a close asks PASSWORD.CPL (the test's own, whose answer the test sets),
not more than once within 200 ms, and the saver ends only when it allows."""
import os
import shutil

import winetest
from e2e import check

VERSION_KEY = r"HKCU\Software\Wine\AppDefaults\vesperglow.scr"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
ANSWER_KEY = r"HKCU\Software\Vesperglow Tests"
FAULT_ANSWER = 0xDEAD


def calls():
    return winetest.reg_values(ANSWER_KEY).get("Calls", ("REG_DWORD", 0))[1]


def consumer_platform_with_verifier(answer):
    """Wine reports Windows 98, passwords are on, and the test's PASSWORD.CPL answers `answer`."""
    winetest.reg_add(VERSION_KEY, "Version", "REG_SZ", "win98")
    winetest.reg_add(DESKTOP_KEY, "ScreenSaveUsePassword", "REG_DWORD", 1)
    winetest.reg_delete_key(ANSWER_KEY)
    winetest.reg_add(ANSWER_KEY, "Answer", "REG_DWORD", answer)
    verifier = os.path.join(winetest.PREFIX, "drive_c", "windows", "system32", "PASSWORD.CPL")
    shutil.copyfile(os.environ["VG_PASSWORD_CPL"], verifier)
    return verifier


def restore_platform(verifier):
    for program in winetest.STARTED:
        program.stop()
    os.remove(verifier)
    winetest.wine("reg", "delete", DESKTOP_KEY, "/v", "ScreenSaveUsePassword", "/f", check_status=False)
    winetest.reg_delete_key(VERSION_KEY)
    winetest.reg_delete_key(ANSWER_KEY)


def refuses_then_allows():
    verifier = consumer_platform_with_verifier(0)
    try:
        # The password change exists only on the consumer platform, which Wine now reports.
        status, _ = winetest.wine(os.environ["VG_SCR"], "/a", check_status=False)
        check(status == 0, "/a on the consumer platform exited with %d, not 0" % status)

        saver, window = winetest.start_full_screen()
        winetest.xdotool("key", "a")
        saver.still_running(2, "although the password was refused")
        check(calls() == 1, "the verifier was asked %d times for one key" % calls())

        # Two key presses back to back: the second close comes within 200 ms of the refused check.
        winetest.probe("post", window, winetest.WM_KEYDOWN, 0x41, 0, 2)
        saver.still_running(2, "although the password was refused")
        check(calls() == 2, "two quick key presses asked the verifier %d more times, not once" % (calls() - 1))

        winetest.reg_add(ANSWER_KEY, "Answer", "REG_DWORD", 1)
        winetest.press_key_ends_with_zero(saver)
        check(calls() == 3, "the verifier was not asked for the last close")
    finally:
        restore_platform(verifier)


def verifier_fault_ends_with_minus_one():
    """A crash inside the password component ends the saver with -1 instead of a crash dialog."""
    verifier = consumer_platform_with_verifier(FAULT_ANSWER)
    try:
        saver, _ = winetest.start_full_screen()
        winetest.xdotool("key", "a")
        saver.expect_exit(255, 30)
    finally:
        restore_platform(verifier)


if __name__ == "__main__":
    winetest.main(globals())
