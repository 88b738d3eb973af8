"""The GTK settings form as a user meets it: `vesperglow --config` on an X server of the test's own
(Xvfb, or Xorg with the dummy driver for its display modes), driven with xdotool, its choices read
back from the key file. VG_SCREENSHOT_DIR says where screenshots go."""
import configparser
import os
import subprocess
import tempfile

from e2e import GUARD_SECONDS, SAVER_DEFAULTS, XServer, check, log, run_case, screenshot, wait_until
from xtest import SETTINGS_GROUP, VESPERGLOW, close_window, saver, write_settings

SCREENSHOT_DIR = os.environ.get("VG_SCREENSHOT_DIR", tempfile.gettempdir())

# Keyboard paths through the form in tab order, starting from the resolution list, which has the
# focus when the form opens: list, F1, F2, Display title, frequency and its box, Alpha Blending.
TO_ALPHA_BLENDING = ["Tab"] * 6
# Alpha Blending, Twilight Sky, Stars, then the Spherical slider.
ALPHA_TO_SPHERICAL = ["Tab"] * 3
# From the Spherical slider past its box and the six other weights with theirs, past OK.
SPHERICAL_TO_CANCEL = ["Tab"] * 15
# Unticks Alpha Blending and moves the Spherical slider two steps right.
EDIT_ALPHA_AND_SPHERICAL = TO_ALPHA_BLENDING + ["space"] + ALPHA_TO_SPHERICAL + ["Right", "Right"]
EDITED = dict(SAVER_DEFAULTS, **{"Alpha Blending": 0, "Spherical Weight": 7})


class Form:
    """`vesperglow --config` with a configuration folder of its own, focused and ready for keys."""

    def __init__(self, server, option="--config", stored=None):
        self.server = server
        self.config = tempfile.mkdtemp(prefix="config-", dir=os.environ.get("HOME") or None)
        if stored is not None:
            write_settings(stored, self.config)
        self.program = saver(server, [option], XDG_CONFIG_HOME=self.config, NO_AT_BRIDGE="1")
        self.window = server.find_window("^Vesperglow Settings$")
        # Keys go to the focused window; with no window manager, give it the focus ourselves.
        server.xdotool("windowfocus", "--sync", self.window)

    def press(self, keys):
        self.server.xdotool("key", "--delay", "80", *keys)

    def stored(self):
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str
        check(parser.read(os.path.join(self.config, "vesperglow", "vesperglow.conf")), "no key file")
        return {name: int(value) for name, value in parser[SETTINGS_GROUP].items()}

    def expect_exit(self, code, stored):
        self.program.expect_exit(code)
        check(self.stored() == stored, "the key file holds %r, not %r" % (self.stored(), stored))

    def screenshot(self, name):
        log("screenshot: " + screenshot(self.server.env(), os.path.join(SCREENSHOT_DIR, name + ".png")).path)


def cancel_and_the_close_button_keep_the_key_file():
    before = dict(SAVER_DEFAULTS, **{"Spherical Weight": 3, "Frequency": 42, "Stars": 4})
    with XServer() as server:
        form = Form(server, option="-config", stored=before)
        form.press(EDIT_ALPHA_AND_SPHERICAL + SPHERICAL_TO_CANCEL + ["space"])
        form.expect_exit(0, before)
        form = Form(server, stored=before)
        form.press(EDIT_ALPHA_AND_SPHERICAL)
        close_window(server, form.window)
        form.expect_exit(0, before)


def escape_and_about_leave_it_open_and_ok_saves():
    with XServer() as server:
        form = Form(server)
        check(form.stored() == SAVER_DEFAULTS, "a fresh folder holds the defaults once the form is open")
        form.press(EDIT_ALPHA_AND_SPHERICAL)
        form.screenshot("settings-form-edited")
        form.press(["Escape"])
        form.program.still_running(2, "on Escape")
        check(form.stored() == SAVER_DEFAULTS, "something was saved before OK")
        form.press(["Return"])  # OK is the default button, and the edits survived Escape
        form.expect_exit(1, EDITED)

        form = Form(server)
        form.press(["shift+Tab", "space"])  # backwards from the first control: About
        wait_until(lambda: server.windows("^About Vesperglow$"), "the About Vesperglow box")
        form.screenshot("settings-form-about")
        form.press(["Return"])
        form.program.still_running(2, "on closing the About box")
        check(not server.windows("^About Vesperglow$"), "the About box is still open")
        check(form.stored() == SAVER_DEFAULTS, "the About box changed %r" % form.stored())
        form.program.stop()


def lost_or_missing_display_exits_with_two():
    with XServer() as server:
        form = Form(server)
        server.xdotool("windowkill", form.window)
        form.program.expect_exit(2)
        check(len(form.program.stderr().strip().splitlines()) == 1, "not one line: %r" % form.program.stderr())
    for display in ["", ":4093"]:
        done = subprocess.run([VESPERGLOW, "--config"], env=dict(os.environ, DISPLAY=display), capture_output=True,
                              stdin=subprocess.DEVNULL, text=True, timeout=GUARD_SECONDS)
        lines = done.stderr.strip().splitlines()
        check(done.returncode == 2 and len(lines) == 1 and lines[0].startswith("vesperglow: "),
              "DISPLAY=%r: exit code %d, stderr %r" % (display, done.returncode, done.stderr))


def check_modes_offered(server, offered, not_offered):
    """A stored mode the display offers survives opening the form; one it does not offer is reset
    to "Same as Desktop" and saved at once, so even closing without OK leaves it reset."""
    for mode in offered + not_offered:
        stored = dict(SAVER_DEFAULTS, **dict(zip(["Display Width", "Display Height", "Display Bits"], mode)))
        kept = stored if mode in offered else SAVER_DEFAULTS
        form = Form(server, stored=stored)
        check(form.stored() == kept, "stored %r: the form left %r" % (mode, form.stored()))
        close_window(server, form.window)
        form.expect_exit(0, kept)


def dummy_driver_modes():
    # Xorg's dummy driver offers the three modes of its configuration on its one output; its 24-bit
    # screen has 32 bits per pixel.
    with XServer(kind="xorg") as server:
        check_modes_offered(server, [(1024, 768, 32), (800, 600, 32), (640, 480, 32)],
                            [(1280, 1024, 32), (800, 600, 16), (1024, 768, 24), (640, 480, 8)])


if __name__ == "__main__":
    run_case(globals(), tools=("Xvfb", "Xorg", "xdotool", "import", "convert"))
