"""The stored display mode of the full-screen saver, on Xorg with the dummy driver (Xvfb has one
mode only): switched at start and back on every way out; a mode the output cannot take is refused
with a message and exit code 1."""
import re
import signal

from e2e import XServer, check, run_case, wait_until
from xtest import saver, write_settings

DESKTOP = (1024, 768)


def modes(server):
    """The screen's size and the output's mode size, as xrandr reports them."""
    text = server.run(["xrandr"])
    screen = re.search(r"current (\d+) x (\d+)", text)
    output = re.search(r"DUMMY0 connected (?:primary )?(\d+)x(\d+)\+", text)
    check(screen and output, "unexpected xrandr output: %r" % text)
    return tuple(map(int, screen.groups())), tuple(map(int, output.groups()))


def switched_and_restored_or_refused():
    with XServer("xorg") as server:
        check(modes(server) == (DESKTOP, DESKTOP), "the server does not start at the desktop's mode")
        for (width, height, bits), end, status in [((800, 600, 32), "key", 0), ((640, 480, 24), "SIGTERM", 0),
                                                   ((800, 600, 32), "fatal error", 1)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            wait_until(lambda: modes(server) == ((width, height),) * 2, "the switch to %dx%d" % (width, height))
            window = server.find_window()
            info = server.run(["xwininfo", "-id", window])
            check("Width: %d" % width in info and "Height: %d" % height in info, "the window is not the mode's size")
            program.still_running(1, "after the switch")
            # A fatal error: the server drops the saver's connection, so it can only end, through HostFatalExit.
            {"key": lambda: server.xdotool("key", "a"), "SIGTERM": lambda: program.signal(signal.SIGTERM),
             "fatal error": lambda: server.run(["xkill", "-id", window])}[end]()
            program.expect_exit(status)
            check(status == 0 or "lost the connection to the X server" in program.stderr(), "no message")
            check(modes(server) == (DESKTOP, DESKTOP), "the mode was not restored after a %s" % end)
        # A size the output does not have, and a depth XRandR cannot switch to.
        for width, height, bits in [(1600, 1200, 32), (800, 600, 16)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            program.expect_exit(1)
            check(program.stderr() == "vesperglow: Error: Could Not Change Display Mode\n",
                  "unexpected stderr: %r" % program.stderr())
            check(modes(server) == (DESKTOP, DESKTOP), "the mode changed although it failed")


if __name__ == "__main__":
    run_case(globals(), tools=("Xorg", "xrandr", "xdotool", "xwininfo", "xkill"))
