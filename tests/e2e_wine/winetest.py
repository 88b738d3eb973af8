"""What the Wine tests share beyond e2e.py: the run's prefix and X server (made once by the set-up
fixture), Windows programs under Wine, the registry, and the probe program's view of windows."""
import contextlib
import errno
import os
import sys
import time

from e2e import Process, check, is_firework_colour, log, run, run_case, screenshot as take_screenshot, wait_until

STATE_DIR = os.environ.get("VG_WINE_STATE", "")
PREFIX = os.path.join(STATE_DIR, "prefix")
# The loader of the build's architecture, run directly: the wine and wineboot scripts pick the
# 32-bit loader whenever it is installed, even where the kernel cannot execute it.
LOADER = os.environ.get("VG_WINE_LOADER", "")
WINEARCH = os.environ.get("VG_WINEARCH", "")
SKIP_STATUS = 77
SAVER_KEY = r"HKCU\Control Panel\Screen Saver.Vesperglow"
SAVER_CLASS = "WindowsScreenSaverClass"
WM_CLOSE, WM_KEYDOWN, WM_LBUTTONDOWN = 0x0010, 0x0100, 0x0201
# Input is given only once the window is up and the show runs, as a user's would be.
SETTLE_SECONDS = 3
OPENING_SECONDS = 6
STARTED = []
DISPLAY = []  # the X server the cases' programs use instead of the run's, while set


def environment():
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH=WINEARCH, WINELOADER=LOADER, WINEDEBUG=os.environ.get("VG_WINEDEBUG", "-all"),
               WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=")
    if DISPLAY:
        env["DISPLAY"] = DISPLAY[-1]
    elif os.path.exists(os.path.join(STATE_DIR, "display")):
        with open(os.path.join(STATE_DIR, "display")) as f:
            env["DISPLAY"] = f.read().strip()
    return env


def restart_wine(display=None):
    """The run's wine server and the prefix's services, restarted on another X server or on the run's."""
    DISPLAY[:] = [display] if display else []
    unix("wineserver", "-k", check_status=False)
    unix("wineserver", "-p", own_session=True)
    wine("wineboot", own_session=True)


@contextlib.contextmanager
def wine_on(server):
    """Wine on another X server for the block, then back on the run's with the block's programs ended.
    32-bit Wine 8's desktop process aborts on Xorg's dummy driver ("free(): invalid pointer"), so where
    Wine opens no plain window there the case reports itself skipped."""
    try:
        restart_wine(server.display)
        if not window_opens():
            print("SKIP: Wine opens no window on this X server", flush=True)
            sys.exit(SKIP_STATUS)
        yield
    finally:
        for program in STARTED:
            program.stop()
        restart_wine()


def unix(*args, **options):
    """Runs a Unix command in the run's environment; returns (status, stdout)."""
    return run([str(a) for a in args], environment(), **options)


def wine(*args, **options):
    """Runs a Windows program to completion under the build's loader; returns (status, stdout)."""
    return unix(LOADER, *args, **options)


def skip_unless_runnable():
    """Ends the case as skipped where this machine cannot execute the build's programs: only
    "Exec format error" from the 32-bit loader means that; any other failure is a failure."""
    if WINEARCH != "win32":
        return
    reason = "VG_WINE_SKIP_32BIT is set: 32-bit programs are not run"
    if not os.environ.get("VG_WINE_SKIP_32BIT"):
        try:
            run([LOADER, "--version"])
            return
        except OSError as error:
            if error.errno != errno.ENOEXEC:
                raise
        reason = "this machine cannot execute 32-bit programs"
    print("SKIP: " + reason, flush=True)
    sys.exit(SKIP_STATUS)


def window_opens():
    """Whether a plain window of the probe opens under the running Wine."""
    window = start(os.environ["VG_PROBE"], "parent")
    wait_until(lambda: not window.running() or "\n" in window.stdout(), "a window, or its failure")
    opened = window.running()
    window.stop()
    return opened


def start(*args):
    """A Windows program started in the background; main() kills it if it still runs at the end."""
    STARTED.append(Process([LOADER] + [str(a) for a in args], environment()))
    return STARTED[-1]


def start_saver(*args):
    return start(os.environ["VG_SCR"], *args)


def main(cases):
    """Runs a case of a test script, each from a fresh settings key."""
    skip_unless_runnable()
    reg_delete_key(SAVER_KEY)
    try:
        run_case(cases, tools=(LOADER, "xdotool", "import", "convert"))
    finally:
        for program in STARTED:
            program.stop()


# The registry.

def reg_delete_key(key):
    wine("reg", "delete", key, "/f", check_status=False)


def reg_add(key, name, kind, data):
    # Wine's reg tool once failed with 1 and no word in a full run; a set-up step is tried again.
    for attempt in range(3):
        if wine("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f", check_status=False)[0] == 0:
            return
        log("reg add %s failed; trying again" % name)
        time.sleep(1)
    check(False, "reg add %s %s failed three times" % (key, name))


def reg_values(key):
    """The values under a key as {name: (type, data)}; data of REG_DWORD as int."""
    status, out = wine("reg", "query", key, check_status=False)
    values = {}
    for line in out.splitlines() if status == 0 else []:
        parts = [p for p in line.strip().split("    ") if p]
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            data = parts[2] if len(parts) > 2 else ""
            values[parts[0]] = (parts[1], int(data, 16) if parts[1] == "REG_DWORD" else data)
    return values


# Windows, input and screenshots.

def xdotool(*args):
    unix("xdotool", *args)


def screenshot(name):
    """The whole screen, also kept in the run's output folder for a human eye."""
    os.makedirs(os.path.join(STATE_DIR, "output"), exist_ok=True)
    return take_screenshot(environment(), os.path.join(STATE_DIR, "output", name + ".png"))


def probe(*args):
    """Runs probe.exe; returns its output words, or None when the window it asked about is not there."""
    status, out = wine(os.environ["VG_PROBE"], *args, check_status=False)
    check(status in (0, 1), "probe %s failed with %d" % (" ".join(map(str, args)), status))
    return [int(word) if word.isdigit() else word for word in out.split()] if status == 0 else None


def find_window(window_class, title):
    found = probe("find", window_class, title)
    return found[0] if found else None


def wait_for_window(window_class, title):
    return wait_until(lambda: find_window(window_class, title), "window %s %r" % (window_class, title), step=0.5)


def start_full_screen(program=None):
    """The saver (the build's unless another program is named) started with /s, once its window exists
    and has settled."""
    saver = start(program or os.environ["VG_SCR"], "/s")

    def shown():
        check(saver.running(), "the saver ended before its window showed: %r" % saver.stderr()[-500:])
        return find_window(SAVER_CLASS, "Screen Saver")
    window = wait_until(shown, "window %s 'Screen Saver'" % SAVER_CLASS, step=0.5)
    saver.still_running(SETTLE_SECONDS, "on its own")
    return saver, window


def wait_for_fireworks(saver):
    """After the opening show, waits until the running saver draws fireworks on the screen."""
    time.sleep(OPENING_SECONDS + 1)

    def fireworks():
        check(saver.running(), "the saver ended on its own")
        # Above the bottom twentieth of the screen, where the horizon lies.
        count = screenshot("full-screen").count(is_firework_colour, (0, 0, 1024, 768 * 19 // 20))
        return count >= 300 and count
    log("firework pixels: %d" % wait_until(fireworks, "fireworks on the screen after the opening show", 60))


def press_key_ends_with_zero(saver):
    xdotool("key", "a")
    saver.expect_exit(0)


def click_control(dialog, control):
    left, top, right, bottom = probe("rect", dialog, control)
    xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
    xdotool("click", 1)


def dismiss_error_box(expected_text):
    """Checks the text of the modal "Error" box the program shows, then presses its OK button."""
    box = wait_for_window("#32770", "Error")
    texts = probe("texts", "Error")
    check(texts is not None and expected_text in " ".join(map(str, texts)),
          "the Error box says %r, not %r" % (texts, expected_text))
    click_control(box, 1)
    wait_until(lambda: find_window("#32770", "Error") is None, "the Error box to close")
