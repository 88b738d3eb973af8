"""The Linux program as a user runs it, in each of its modes, on an Xvfb of its own."""
import os
import signal
import time

from e2e import XServer, check, is_firework_colour, log, run, run_case, wait_until
from xtest import OPENING_SECONDS, VESPERGLOW, close_window, saver, test_window, write_settings

ENDING_SIGNALS = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)
FORM = "^Vesperglow Settings$"


def window_size(server, window):
    info = dict(line.strip().partition(":")[::2] for line in server.run(["xwininfo", "-id", window]).splitlines())
    return int(info["Width"]), int(info["Height"])


def is_sky(r, g, b):
    """The twilight and the dark sky above it: no grey of the test window, blue at least red."""
    return max(r, g, b) <= 60 and b >= r >= g


def expect_sky(image):
    """The saver's sky fills most of the picture, and the test window's own grey shows nowhere."""
    check(image.count(lambda r, g, b: r == g == b == 0x80) == 0, "the window's own grey still shows")
    check(image.count(is_sky) > image.width * image.height // 2, "no sky in " + image.path)


def give_input(server, window):
    """Keys, quit keys among them, pointer motion and a click, all aimed at window."""
    server.xdotool("windowfocus", window)
    server.xdotool("key", "a", "Escape", "q")
    server.xdotool("mousemove", 100, 100)
    server.xdotool("mousemove", 300, 200)
    server.xdotool("click", "1")


def is_rate_colour(r, g, b):
    """(0.2, 0.4, 0.6) times a glyph's grey: no star, sky or burst colour keeps these ratios."""
    return b >= 90 and abs(g - b * 2 / 3) <= 12 and abs(r - b / 3) <= 12


def frame_rate_pixels(server, window):
    # The frame rate's glyph squares, 48 pixels high, are centred 5% below the top edge, from x = 20.
    return server.screenshot("rate", window).count(is_rate_colour, (0, 0, 320, 90))


def window_shows_fireworks_and_ends_on_a_quit_key():
    write_settings({"Frequency": 60})
    with XServer() as server:
        program = saver(server, ["-seed", "11"])
        window = server.find_window()
        check(window_size(server, window) == (1024, 768), "the window is not 1024x768")
        check(str(program.process.pid) in server.run(["xprop", "-id", window, "_NET_WM_PID"]), "no _NET_WM_PID")
        # F2 shows the frame rate while held, and only then.
        server.xdotool("windowfocus", "--sync", window)
        check(frame_rate_pixels(server, window) < 5, "a frame rate is shown before F2 is pressed")
        server.xdotool("keydown", "F2")
        wait_until(lambda: frame_rate_pixels(server, window) >= 100, "the frame rate while F2 is held")
        server.xdotool("keyup", "F2")
        wait_until(lambda: frame_rate_pixels(server, window) < 5, "the frame rate to go when F2 is released")
        time.sleep(OPENING_SECONDS)

        def fireworks():
            image = server.screenshot("window", window)
            # Rows above the launch line at the bottom: the sky where bursts open.
            return image.count(is_firework_colour, (0, 0, image.width, image.height * 85 // 100)) >= 300 and image
        expect_sky(wait_until(fireworks, "fireworks in a screenshot", timeout=30))
        # Other keys, F1 and F2 among them, leave the window alone.
        server.xdotool("windowfocus", "--sync", window)
        server.xdotool("key", "a", "F1", "F2", "space")
        program.still_running(1.5, "on a key that is not a quit key")
        server.xdotool("key", "shift+q")
        program.expect_exit(0)


def every_way_out_ends_with_zero():
    with XServer() as server:
        owner, other = test_window(server)
        ends = {"key": lambda window: server.xdotool("key", "a"), "click": lambda window: server.xdotool("click", "1"),
                "focus taken": lambda window: server.xdotool("windowfocus", other),
                "close button": lambda window: close_window(server, window)}
        for args, end in [(["-fullscreen"], "key"), (["-fullscreen"], "click"), (["-fullscreen"], "focus taken"),
                          (["-fullscreen"], signal.SIGHUP), ([], signal.SIGTERM), (["-window"], signal.SIGINT),
                          ([], "close button")]:
            program = saver(server, args)
            window = server.find_window()
            if args == ["-fullscreen"]:
                check(window_size(server, window) == (1024, 768), "the full-screen window is not 1024x768")
                check("Override Redirect State: yes" in server.run(["xwininfo", "-id", window]), "it is managed")
                # F1 and F2 show their overlays while held and do not end the saver.
                server.xdotool("key", "F1", "F2")
            program.still_running(1.5, "before its end: %s" % end)
            ends.get(end, lambda window: program.signal(end))(window)
            program.expect_exit(0, timeout=20)
        owner.stop()


def fullscreen_ends_on_drift_not_jitter():
    with XServer() as server:
        program = saver(server, ["-fullscreen"])
        server.find_window()
        program.still_running(1, "before any input")
        # Up to 5 pixels either way from where the pointer was when the saver appeared.
        for dx, dy in [(3, 0), (2, 0), (-10, 0), (5, 5), (0, -10), (4, 5), (-4, 0)]:
            server.xdotool("mousemove_relative", "--", dx, dy)
            time.sleep(0.2)
        program.still_running(1.5, "on a jitter of at most 5 pixels")
        # Back at the start, then 6 pixels in single steps.
        for _ in range(6):
            server.xdotool("mousemove_relative", "--", 1, 0)
            time.sleep(0.2)
        program.expect_exit(0)


def window_id_draws_inside_and_ends_with_the_window():
    with XServer() as server:
        owner, parent = test_window(server, 400, 300)
        # Decimal here; hexadecimal in the -root case.
        program = saver(server, ["-window-id", str(int(parent, 16))])
        program.still_running(3, "while drawing into the window")
        expect_sky(server.screenshot("preview", parent))
        # Input goes to the window's owner and never ends the preview.
        before = owner.stdout().count("input")
        give_input(server, parent)
        program.still_running(1.5, "on input to the preview window")
        check(owner.stdout().count("input") > before, "the window's owner got no input")
        # The preview follows its window's size.
        server.xdotool("windowsize", parent, 500, 350)
        time.sleep(1)
        children = [line.split()[0] for line in server.run(["xwininfo", "-children", "-id", parent]).splitlines()
                    if line.strip().startswith("0x")]
        check(len(children) == 1, "expected one child window, found %s" % children)
        check(window_size(server, children[0]) == (500, 350), "the preview did not follow its window's size")
        # A hidden preview runs no frames at all, and goes on once it is shown again.
        server.xdotool("windowunmap", "--sync", parent)
        hidden = program.cpu_seconds_over(3)
        server.xdotool("windowmap", "--sync", parent)
        shown = program.cpu_seconds_over(3)
        check(hidden < 0.05 < shown, "CPU seconds in 3 s: %.2f hidden, %.2f shown" % (hidden, shown))
        server.xdotool("windowkill", parent)
        program.expect_exit(0)


def root_draws_into_xscreensaver_window_or_root():
    with XServer() as server:
        owner, target = test_window(server, 640, 480)
        program = saver(server, ["-root"], XSCREENSAVER_WINDOW=target)
        program.still_running(3, "while drawing into XSCREENSAVER_WINDOW")
        image = server.screenshot("daemon-window", target)
        check((image.width, image.height) == (640, 480), "the window was resized")
        expect_sky(image)
        give_input(server, target)
        program.still_running(1.5, "on input: input belongs to the daemon")
        program.signal(signal.SIGTERM)
        program.expect_exit(0)
        owner.stop()

        program = saver(server, ["--root"])
        program.still_running(3, "while drawing into the root window")
        expect_sky(server.screenshot("root"))
        with open("/proc/%d/maps" % program.process.pid) as f:
            gtk = {line.split()[-1] for line in f if "/libgtk-3" in line or "/libgdk-3" in line}
        check(not gtk, "GTK is the settings form's alone, but -root maps %s" % gtk)
        program.signal(signal.SIGTERM)
        program.expect_exit(0)


def expect_one_line_error(program, needle):
    program.expect_exit(1)
    lines = program.stderr().splitlines()
    check(lines and lines[0].startswith("vesperglow: ") and needle in lines[0], "no %r in %r" % (needle, lines))
    check(not any("X Error" in line for line in lines), "a raw X error reached the user: %r" % lines)
    return lines


def bad_input_and_startup_errors():
    with XServer() as server:
        check(len(expect_one_line_error(saver(server, ["-window-id", "zz"]), 'bad window id "zz"')) == 1,
              "more than one line for a bad window id")
        lines = expect_one_line_error(saver(server, ["-nonsense"]), 'unknown option "-nonsense"')
        check(any(line.startswith("usage:") for line in lines), "no usage after an unknown option")
        expect_one_line_error(saver(server, ["--window-id", "0x1fffff0"]), "window 0x1fffff0 does not exist")
        expect_one_line_error(saver(server, ["-root"], XSCREENSAVER_WINDOW="0x1fffff0"),
                              "window 0x1fffff0 does not exist")
        expect_one_line_error(saver(server, [], DISPLAY=""), "no display")
        expect_one_line_error(saver(server, [], DISPLAY=":4093"), 'cannot open display ":4093"')
        # Xvfb refuses indirect GLX contexts: a GL set-up that fails ends every mode.
        _, parent = test_window(server)
        for args in ([], ["-root"], ["-fullscreen"], ["-window-id", parent]):
            expect_one_line_error(saver(server, args, LIBGL_ALWAYS_INDIRECT="1"),
                                  "Can't Create A GL Rendering Context.")
    with XServer(width=640, height=480, depth=8) as server:
        expect_one_line_error(saver(server, []), "no GL-capable visual")
        expect_one_line_error(saver(server, ["-root"]), "no GL-capable visual")


def sent_before_it_runs(server, args, number):
    """The program started with the ending signals blocked, as a careless parent may leave them, and
    one of them already sent: it is pending when the program's own first instruction runs."""
    signal.pthread_sigmask(signal.SIG_BLOCK, ENDING_SIGNALS)
    try:
        program = saver(server, args, NO_AT_BRIDGE="1")
    finally:
        signal.pthread_sigmask(signal.SIG_UNBLOCK, ENDING_SIGNALS)
    program.signal(number)
    return program


def signals_end_every_mode_with_zero_from_the_start():
    with XServer() as server:
        for args, number in [([], signal.SIGTERM), (["-root"], signal.SIGINT), (["-fullscreen"], signal.SIGHUP),
                             (["-config"], signal.SIGTERM)]:
            sent_before_it_runs(server, args, number).expect_exit(0, timeout=10)
        # The settings form closes on a signal as on its close button.
        program = saver(server, ["-config"], NO_AT_BRIDGE="1")
        server.find_window(FORM)
        program.signal(signal.SIGINT)
        program.expect_exit(0, timeout=10)


def a_stopped_x_server_does_not_keep_it_running():
    """The daemon sends SIGTERM and expects the hack gone, also while the X server does not answer."""
    with XServer() as server:
        for args, window in [([], "^Vesperglow$"), (["-config"], FORM)]:
            program = saver(server, args, NO_AT_BRIDGE="1")
            server.find_window(window)
            program.still_running(1, "before the server stopped")
            server.process.send_signal(signal.SIGSTOP)
            try:
                time.sleep(1)
                sent = time.monotonic()
                program.signal(signal.SIGTERM)
                program.expect_exit(0, timeout=10)
                log("%s ended %.2f s after SIGTERM" % (args, time.monotonic() - sent))
            finally:
                server.process.send_signal(signal.SIGCONT)


def options_touch_no_settings():
    for args, status in [(["--help"], 0), (["-version"], 0), (["-nonsense"], 1)]:
        check(run([VESPERGLOW] + args, check_status=False)[0] == status, "%s: not exit code %d" % (args, status))
    check(not os.path.exists(os.environ["XDG_CONFIG_HOME"]), "options created the configuration folder")


if __name__ == "__main__":
    run_case(globals(), tools=("Xvfb", "xdotool", "xwininfo", "xprop", "import", "convert"))
