"""The stored display mode of the full-screen saver, on Xorg with the dummy driver (Xvfb has one
mode only): switched at start and back on every way out."""
import re
import signal

from e2e import XServer, check, log, run_case, wait_until
from xtest import saver, write_settings

DESKTOP = (1024, 768)


def modes(server):
    """The screen's size and the output's mode size, as xrandr reports them."""
    text = server.run(["xrandr"])
    screen = re.search(r"current (\d+) x (\d+)", text)
    output = re.search(r"DUMMY0 connected (?:primary )?(\d+)x(\d+)\+", text)
    check(screen and output, "unexpected xrandr output: %r" % text)
    return tuple(map(int, screen.groups())), tuple(map(int, output.groups()))


def restored_after_key_sigterm_and_fatal_error():
    with XServer("xorg") as server:
        for (width, height, bits), end in [((800, 600, 32), "key"), ((640, 480, 24), "SIGTERM"),
                                           ((800, 600, 32), "fatal error")]:
            check(modes(server) == (DESKTOP, DESKTOP), "the desktop is not at its own mode before the test")
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            wait_until(lambda: modes(server) == ((width, height),) * 2, "the switch to %dx%d" % (width, height))
            window = server.find_window()
            info = server.run(["xwininfo", "-id", window])
            check("Width: %d" % width in info and "Height: %d" % height in info, "the window is not the mode's size")
            program.still_running(1, "after the switch")
            if end == "key":
                server.xdotool("key", "a")
                program.expect_exit(0)
            elif end == "SIGTERM":
                program.signal(signal.SIGTERM)
                program.expect_exit(0)
            else:
                # The server drops the saver's connection: it can only end, through HostFatalExit.
                server.run(["xkill", "-id", window])
                program.expect_exit(1)
                check("lost the connection to the X server" in program.stderr(), "no message: %r" % program.stderr())
            check(modes(server) == (DESKTOP, DESKTOP), "the mode was not restored after a %s" % end)
            log("%dx%d restored after a %s" % (width, height, end))


def unavailable_modes_end_with_a_message():
    with XServer("xorg") as server:
        # A size the output does not have, and a depth XRandR cannot switch to.
        for width, height, bits in [(1600, 1200, 32), (800, 600, 16)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            program = saver(server, ["-fullscreen"])
            program.expect_exit(1)
            check(program.stderr() == "vesperglow: Error: Could Not Change Display Mode\n",
                  "unexpected stderr: %r" % program.stderr())
            check(modes(server) == (DESKTOP, DESKTOP), "the mode changed although it failed")


if __name__ == "__main__":
    run_case({"restored": restored_after_key_sigterm_and_fatal_error,
              "unavailable-mode": unavailable_modes_end_with_a_message},
             tools=("Xorg", "xrandr", "xdotool", "xwininfo", "xkill"))
