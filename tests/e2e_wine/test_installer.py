"""The build's installer, silent (/S), in the run's prefix: the saver in System32, made the screen saver,
running, installed over while it runs; the silent uninstall keeps the user's settings and clears the
screen saver only where it still names Vesperglow (as installed, or short and in capitals)."""
import filecmp
import glob
import os

import winetest
from e2e import check, wait_until
from winetest import SAVER_KEY, reg_add, reg_values

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperglow"
INSTALLED = r"C:\windows\system32\vesperglow.scr"


def unix_path(windows_path):
    return os.path.join(winetest.PREFIX, "drive_c", *windows_path[3:].split("\\"))


def desktop_value(name):
    return reg_values(DESKTOP_KEY).get(name, (None, None))[1]


def install():
    """A silent install; returns the values of the uninstaller's key it wrote."""
    winetest.wine(os.environ["VG_INSTALLER"], "/S")
    check(filecmp.cmp(unix_path(INSTALLED), os.environ["VG_SCR"], shallow=False),
          "%s is not the build's saver" % INSTALLED)
    return {name: data for name, (_, data) in reg_values(UNINSTALL_KEY).items()}


def uninstall(registered):
    """The registered silent uninstall, waited for: the uninstaller goes on in a copy of itself."""
    program, switch = registered["QuietUninstallString"].rsplit(" ", 1)
    winetest.wine(program.strip('"'), switch)
    wait_until(lambda: not reg_values(UNINSTALL_KEY) and not os.path.exists(unix_path(program.strip('"'))),
               "the uninstaller to remove itself and its key")
    left = glob.glob(unix_path(INSTALLED) + "*") + glob.glob(unix_path(registered["InstallLocation"]))
    check(not left, "the uninstall left %s" % left)


def installs_runs_and_uninstalls_leaving_another_saver():
    reg_add(DESKTOP_KEY, "ScreenSaveActive", "REG_SZ", "0")
    registered = install()
    # A 64-bit installer that ran as 32-bit would have written SysWOW64 and the 32-bit registry view.
    check(not os.path.exists(unix_path(r"C:\windows\syswow64\vesperglow.scr")), "the saver went into SysWOW64")
    check((desktop_value("SCRNSAVE.EXE"), desktop_value("ScreenSaveActive")) == (INSTALLED, "1"),
          "the desktop holds %s" % reg_values(DESKTOP_KEY))
    expected = {"DisplayName": "Vesperglow", "DisplayVersion": os.environ["VG_VERSION"],
                "Publisher": "The Vesperglow developers", "DisplayIcon": INSTALLED + ",0"}
    check({name: registered.get(name) for name in expected} == expected, "the uninstall key holds %s" % registered)
    check(registered.get("EstimatedSize", 0) >= os.path.getsize(os.environ["VG_SCR"]) // 1024,
          "the estimated size is %s KiB" % registered.get("EstimatedSize"))

    saver, _ = winetest.start_full_screen(INSTALLED)
    winetest.wait_for_fireworks(saver)
    check(install() == registered, "installing again changed the uninstall key")
    saver.still_running(1, "when installed over")
    winetest.press_key_ends_with_zero(saver)

    another = r"C:\windows\system32\another.scr"
    reg_add(DESKTOP_KEY, "SCRNSAVE.EXE", "REG_SZ", another)
    uninstall(registered)
    check(desktop_value("SCRNSAVE.EXE") == another, "the uninstall changed another saver's SCRNSAVE.EXE")
    check(reg_values(SAVER_KEY), "the uninstall removed the user's settings")


def clears_the_screen_saver_it_named():
    for form in ("as installed", "short, in capitals"):
        registered = install()
        if form != "as installed":
            short_path = winetest.probe("short-path", INSTALLED)[0]
            reg_add(DESKTOP_KEY, "SCRNSAVE.EXE", "REG_SZ", short_path.upper())
        uninstall(registered)
        check(desktop_value("SCRNSAVE.EXE") is None, "the uninstall left SCRNSAVE.EXE naming Vesperglow " + form)


if __name__ == "__main__":
    winetest.main(globals())
