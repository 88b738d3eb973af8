"""The consumer platform's password hand-off: with Wine reporting Windows 98 to the saver and
"ScreenSaveUsePassword" set, a close asks PASSWORD.CPL (the test's own, whose answer the test sets),
not more than once within 200 ms, and the saver ends only when it allows."""
import os
import shutil
import time

import winetest
from winetest import check

VERSION_KEY = r"HKCU\Software\Wine\AppDefaults\vesperglow.scr"
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
ANSWER_KEY = r"HKCU\Software\Vesperglow Tests"


def installed_verifier():
    return os.path.join(winetest.PREFIX, "drive_c", "windows", "system32", "PASSWORD.CPL")


def calls():
    return winetest.reg_values(ANSWER_KEY).get("Calls", ("REG_DWORD", 0))[1]


def set_answer(allow):
    winetest.reg_add(ANSWER_KEY, "Answer", "REG_DWORD", 1 if allow else 0)


def password_refuses_then_allows():
    winetest.reset_saver_key()
    winetest.reg_add(VERSION_KEY, "Version", "REG_SZ", "win98")
    winetest.reg_add(DESKTOP_KEY, "ScreenSaveUsePassword", "REG_DWORD", 1)
    winetest.reg_delete_key(ANSWER_KEY)
    set_answer(False)
    shutil.copyfile(os.environ["VG_PASSWORD_CPL"], installed_verifier())
    saver = None
    try:
        # The password change exists only on the consumer platform, which Wine now reports.
        status, _ = winetest.wine([os.environ["VG_SCR"], "/a"], check_status=False)
        check(status == 0, "/a on the consumer platform exited with %d, not 0" % status)

        saver, window = winetest.start_full_screen()
        winetest.xdotool("key", "a")
        time.sleep(2)
        check(calls() == 1, "the verifier was asked %d times for one key" % calls())
        check(saver.running(), "the saver ended although the password was refused")

        # Two key presses back to back: the second close comes within 200 ms of the refused check.
        winetest.probe("post", window, winetest.WM_KEYDOWN, 0x41, 0, 2)
        time.sleep(2)
        check(calls() == 2, "two quick key presses asked the verifier %d more times, not once" % (calls() - 1))
        check(saver.running(), "the saver ended although the password was refused")

        set_answer(True)
        winetest.xdotool("key", "a")
        check(saver.wait() == 0, "the saver did not end with 0 once the password was accepted")
        check(calls() == 3, "the verifier was not asked for the last close")
    finally:
        if saver:
            saver.stop()
        os.remove(installed_verifier())
        winetest.wine(["reg", "delete", DESKTOP_KEY, "/v", "ScreenSaveUsePassword", "/f"], check_status=False)
        winetest.reg_delete_key(VERSION_KEY)
        winetest.reg_delete_key(ANSWER_KEY)


if __name__ == "__main__":
    winetest.main({"refuses-then-allows": password_refuses_then_allows})
