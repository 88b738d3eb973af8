"""The stored display mode of the full-screen saver, on Xorg with the dummy driver (Xvfb has one
mode only): switched at start and back on every way out."""
import re
import signal

from xtest import Saver, XServer, check, log, run_case, wait_until, write_settings

DESKTOP = (1024, 768)


def modes(server):
    """The screen's size and the output's mode size, as xrandr reports them."""
    text = server.run(["xrandr"])
    screen = re.search(r"current (\d+) x (\d+)", text)
    output = re.search(r"DUMMY0 connected (?:primary )?(\d+)x(\d+)\+", text)
    check(screen and output, "unexpected xrandr output: %r" % text)
    return (int(screen.group(1)), int(screen.group(2))), (int(output.group(1)), int(output.group(2)))


def window_size(server, window):
    text = server.run(["xwininfo", "-id", window])
    return int(re.search(r"Width: (\d+)", text).group(1)), int(re.search(r"Height: (\d+)", text).group(1))


def start_switched(server, width, height, bits):
    check(modes(server) == (DESKTOP, DESKTOP), "the desktop is not at its own mode before the test")
    write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
    saver = Saver(server, ["-fullscreen"])
    wait_until(lambda: modes(server) == ((width, height), (width, height)), "the switch to %dx%d" % (width, height))
    window = server.find_window()
    check(window_size(server, window) == (width, height), "the window is not %dx%d" % (width, height))
    saver.still_running(1, "after the switch")
    log("switched to %dx%d" % (width, height))
    return saver, window


def expect_desktop_mode(server, how):
    check(modes(server) == (DESKTOP, DESKTOP), "the mode was not restored %s: %s" % (how, modes(server)))
    log("restored " + how)


def restored_after_key():
    with XServer("xorg") as server:
        saver, _ = start_switched(server, 800, 600, 32)
        server.xdotool("key", "a")
        saver.expect_exit(0)
        expect_desktop_mode(server, "after a key press")


def restored_after_sigterm():
    with XServer("xorg") as server:
        saver, _ = start_switched(server, 640, 480, 24)
        saver.signal(signal.SIGTERM)
        saver.expect_exit(0)
        expect_desktop_mode(server, "after SIGTERM")


def restored_after_fatal_error():
    with XServer("xorg") as server:
        saver, window = start_switched(server, 800, 600, 32)
        # The server drops the saver's connection: it can only end, through HostFatalExit.
        server.run(["xkill", "-id", window])
        saver.expect_exit(1)
        check("lost the connection to the X server" in saver.stderr(), "no message: %r" % saver.stderr())
        expect_desktop_mode(server, "after a fatal error")


def unavailable_modes_end_with_a_message():
    with XServer("xorg") as server:
        # A size the output does not have, and a depth XRandR cannot switch to.
        for width, height, bits in [(1600, 1200, 32), (800, 600, 16)]:
            write_settings({"Display Width": width, "Display Height": height, "Display Bits": bits})
            saver = Saver(server, ["-fullscreen"])
            saver.expect_exit(1)
            text = saver.stderr()
            check(text == "vesperglow: Error: Could Not Change Display Mode\n", "unexpected stderr: %r" % text)
            expect_desktop_mode(server, "after %dx%dx%d failed" % (width, height, bits))


if __name__ == "__main__":
    run_case({
        "restored-after-key": restored_after_key,
        "restored-after-sigterm": restored_after_sigterm,
        "restored-after-fatal-error": restored_after_fatal_error,
        "unavailable-mode": unavailable_modes_end_with_a_message,
    }, tools=("Xorg", "xrandr", "xdotool", "xwininfo", "xkill"))
