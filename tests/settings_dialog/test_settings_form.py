"""The GTK settings form as a user meets it: `vesperglow --config` on an X server of the test's own
(Xvfb, or Xorg with the dummy driver for its display modes), driven with xdotool, its choices read
back from the key file.

Usage: test_settings_form.py CASE   (VG_VESPERGLOW names the program, VG_SCREENSHOT_DIR where
screenshots go)."""
import configparser
import ctypes
import ctypes.util
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))
from xtest import XServer, Failure, check, log  # noqa: E402

VESPERGLOW = os.environ.get("VG_VESPERGLOW", "")
SCREENSHOT_DIR = os.environ.get("VG_SCREENSHOT_DIR", tempfile.gettempdir())
GROUP = "Control Panel\\Screen Saver.Vesperglow"
TITLE = "^Vesperglow Settings$"
# Hang guards only: far longer than anything takes on a loaded machine.
GUARD_SECONDS = 60
# How long a form that should stay open is watched.
STAYS_OPEN_SECONDS = 2

# Keyboard paths through the form in tab order, starting from the resolution list, which has the
# focus when the form opens: list, F1, F2, Display title, frequency and its box, Alpha Blending.
TO_ALPHA_BLENDING = ["Tab"] * 6
# Alpha Blending, Twilight Sky, Stars, then the Spherical slider.
ALPHA_TO_SPHERICAL = ["Tab"] * 3
# From the Spherical slider past its box and the six other weights with theirs, past OK.
SPHERICAL_TO_CANCEL = ["Tab"] * 15


def press(server, names):
    server.run(["xdotool", "key", "--delay", "80"] + names)


class Form:
    """`vesperglow --config` with a configuration folder of its own."""

    def __init__(self, server, option="--config", stored=None):
        self.server = server
        self.config = tempfile.mkdtemp(prefix="config-", dir=os.environ.get("HOME") or None)
        if stored is not None:
            write_key_file(self.config, stored)
        env = dict(os.environ, DISPLAY=server.display, XDG_CONFIG_HOME=self.config, NO_AT_BRIDGE="1")
        self.process = subprocess.Popen([VESPERGLOW, option], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.window = self.find_window()
        # Keys go to the focused window; with no window manager, give it the focus ourselves.
        server.run(["xdotool", "windowfocus", "--sync", self.window])

    def find_window(self):
        deadline = time.monotonic() + GUARD_SECONDS
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise Failure("the form ended before showing: %r" % (self.process.communicate(),))
            found = self.server.run(["xdotool", "search", "--onlyvisible", "--name", TITLE], check_status=False)
            if found.split():
                return found.split()[0]
            time.sleep(0.1)
        raise Failure("hang guard: no window named Vesperglow Settings")

    def stored(self):
        return read_key_file(self.config)

    def wait(self):
        try:
            self.process.wait(timeout=GUARD_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("hang guard: the form is still open")
        out, err = self.process.communicate()
        return self.process.returncode, err

    def still_open_after(self, seconds):
        time.sleep(seconds)
        return self.process.poll() is None

    def screenshot(self, name):
        path = os.path.join(SCREENSHOT_DIR, name)
        self.server.run(["import", "-window", "root", path])
        log("screenshot: " + path)
        return path

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def key_file_path(config):
    return os.path.join(config, "vesperglow", "vesperglow.conf")


def read_key_file(config):
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    check(parser.read(key_file_path(config)), "no key file in " + config)
    return {name: int(value) for name, value in parser[GROUP].items()}


def write_key_file(config, values):
    os.makedirs(os.path.dirname(key_file_path(config)), exist_ok=True)
    with open(key_file_path(config), "w") as f:
        f.write("[%s]\n" % GROUP)
        for name, value in values.items():
            f.write("%s=%d\n" % (name, value))


DEFAULTS = {
    "Frequency": 30, "Display Width": 0, "Display Height": 0, "Display Bits": 0,
    "F1 Displays Window Border": 1, "F2 Displays Frame Rate": 1, "Display Vesperglow": 1, "Alpha Blending": 1,
    "Twilight Sky": 1, "Stars": 1, "Spherical Weight": 5, "Blast Weight": 5, "Weeping Willow Weight": 5,
    "Sparkling Weight": 5, "Chain Reaction Weight": 5, "Cork Screw Weight": 5, "Waver Weight": 5,
}


def send_close_request(display, window):
    """What a window manager's close button does: WM_DELETE_WINDOW in a WM_PROTOCOLS message."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = xlib.XOpenDisplay(display.encode())
    check(connection, "cannot open " + display)
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = xlib.XInternAtom(connection, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
    xlib.XSendEvent(connection, int(window), 0, 0, ctypes.byref(event))
    xlib.XFlush(connection)
    xlib.XCloseDisplay(connection)


def edit_alpha_and_spherical(server):
    """Unticks Alpha Blending and moves the Spherical slider two steps right."""
    press(server, TO_ALPHA_BLENDING + ["space"] + ALPHA_TO_SPHERICAL + ["Right", "Right"])


def case_ok_saves():
    with XServer() as server:
        form = Form(server)
        try:
            check(form.stored() == DEFAULTS, "a fresh folder holds the defaults once the form is open")
            edit_alpha_and_spherical(server)
            form.screenshot("settings-form-edited.png")
            check(form.stored() == DEFAULTS, "nothing is saved before OK")
            press(server, ["Return"])  # OK is the default button
            status, err = form.wait()
            check(status == 1, "OK ends with exit code 1, not %d (%s)" % (status, err))
            expected = dict(DEFAULTS, **{"Alpha Blending": 0, "Spherical Weight": 7})
            check(form.stored() == expected, "after OK the key file holds %r, not %r" % (expected, form.stored()))
        finally:
            form.close()


def case_cancel_keeps():
    before = dict(DEFAULTS, **{"Spherical Weight": 3, "Frequency": 42, "Stars": 4})
    with XServer() as server:
        form = Form(server, option="-config", stored=before)
        try:
            edit_alpha_and_spherical(server)
            press(server, SPHERICAL_TO_CANCEL + ["space"])
            status, err = form.wait()
            check(status == 0, "Cancel ends with exit code 0, not %d (%s)" % (status, err))
            check(form.stored() == before, "Cancel leaves %r, not %r" % (before, form.stored()))
        finally:
            form.close()


def case_escape_stays_open():
    with XServer() as server:
        form = Form(server)
        try:
            edit_alpha_and_spherical(server)
            press(server, ["Escape"])
            check(form.still_open_after(STAYS_OPEN_SECONDS), "Escape closed the form")
            # The edits survive Escape: OK still saves them.
            press(server, ["Return"])
            status, err = form.wait()
            check(status == 1, "OK after Escape ends with 1, not %d (%s)" % (status, err))
            check(form.stored()["Spherical Weight"] == 7, "the edit made before Escape was lost")
        finally:
            form.close()


def case_about_box():
    with XServer() as server:
        form = Form(server)
        try:
            press(server, ["shift+Tab", "space"])  # backwards from the first control: About
            deadline = time.monotonic() + GUARD_SECONDS
            while not server.run(["xdotool", "search", "--onlyvisible", "--name", "^About Vesperglow$"],
                                 check_status=False).split():
                check(time.monotonic() < deadline, "hang guard: no About Vesperglow box")
                time.sleep(0.1)
            form.screenshot("settings-form-about.png")
            press(server, ["Return"])
            check(form.still_open_after(STAYS_OPEN_SECONDS), "the About box closed the form")
            check(not server.run(["xdotool", "search", "--onlyvisible", "--name", "^About Vesperglow$"],
                                 check_status=False).split(), "the About box is still open")
            check(form.stored() == DEFAULTS, "the About box changed %r" % form.stored())
        finally:
            form.close()


def case_close_button_cancels():
    with XServer() as server:
        form = Form(server)
        try:
            edit_alpha_and_spherical(server)
            send_close_request(server.display, form.window)
            status, err = form.wait()
            check(status == 0, "the close button ends with exit code 0, not %d (%s)" % (status, err))
            check(form.stored() == DEFAULTS, "the close button saved %r" % form.stored())
        finally:
            form.close()


def case_display_lost():
    with XServer() as server:
        form = Form(server)
        try:
            server.run(["xdotool", "windowkill", form.window])
            status, err = form.wait()
            check(status == 2, "a lost display ends with exit code 2, not %d" % status)
            check(len(err.strip().splitlines()) == 1, "one line on stderr, not %r" % err)
        finally:
            form.close()


def stored_mode(values):
    return values["Display Width"], values["Display Height"], values["Display Bits"]


def check_modes_offered(server, offered, not_offered):
    """A stored mode the display offers survives opening the form; one it does not offer is reset
    to "Same as Desktop" and saved at once, so even Cancel leaves it reset."""
    for mode, kept in [(m, True) for m in offered] + [(m, False) for m in not_offered]:
        width, height, bits = mode
        stored = dict(DEFAULTS, **{"Display Width": width, "Display Height": height, "Display Bits": bits})
        form = Form(server, stored=stored)
        try:
            expected = mode if kept else (0, 0, 0)
            check(stored_mode(form.stored()) == expected,
                  "stored %r: the form left %r, not %r" % (mode, stored_mode(form.stored()), expected))
            send_close_request(server.display, form.window)
            status, err = form.wait()
            check(status == 0, "closing ends with 0, not %d (%s)" % (status, err))
            check(stored_mode(form.stored()) == expected, "stored %r: closing changed the mode" % (mode,))
        finally:
            form.close()


def case_xvfb_modes():
    # Xvfb offers its screen size alone; a 24-bit screen has 32 bits per pixel.
    with XServer() as server:
        check_modes_offered(server, offered=[(1024, 768, 32)],
                            not_offered=[(1024, 768, 24), (800, 600, 32), (640, 480, 8)])


def case_dummy_driver_modes():
    # Xorg's dummy driver offers the three modes of its configuration on its one output.
    with XServer(kind="xorg") as server:
        check_modes_offered(server, offered=[(1024, 768, 32), (800, 600, 32), (640, 480, 32)],
                            not_offered=[(1280, 1024, 32), (800, 600, 16)])


def case_no_display():
    config = tempfile.mkdtemp(prefix="config-", dir=os.environ.get("HOME") or None)
    unserved = next(n for n in range(900, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n)
                    and not os.path.exists("/tmp/.X%d-lock" % n))
    for display in (None, ":%d" % unserved):
        env = dict(os.environ, XDG_CONFIG_HOME=config)
        env.pop("DISPLAY", None)
        if display:
            env["DISPLAY"] = display
        done = subprocess.run([VESPERGLOW, "--config"], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=GUARD_SECONDS)
        check(done.returncode == 2, "without a display the exit code is 2, not %d" % done.returncode)
        lines = done.stderr.strip().splitlines()
        check(len(lines) == 1 and lines[0].startswith("vesperglow: "), "one error line, not %r" % done.stderr)


CASES = {
    "ok-saves": case_ok_saves,
    "cancel-keeps": case_cancel_keeps,
    "escape-stays-open": case_escape_stays_open,
    "about-box": case_about_box,
    "close-button-cancels": case_close_button_cancels,
    "display-lost": case_display_lost,
    "xvfb-modes": case_xvfb_modes,
    "dummy-driver-modes": case_dummy_driver_modes,
    "no-display": case_no_display,
}


def main():
    check(len(sys.argv) == 2 and sys.argv[1] in CASES, "usage: test_settings_form.py " + "|".join(CASES))
    check(os.path.isfile(VESPERGLOW), "VG_VESPERGLOW does not name the program: %r" % VESPERGLOW)
    CASES[sys.argv[1]]()
    log("1 passed, 0 failed")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        log("FAILED: %s" % failure)
        sys.exit(1)
