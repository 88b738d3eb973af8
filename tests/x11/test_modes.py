"""The Linux program as a user runs it, in each of its modes, on an Xvfb of its own."""
import os
import signal
import time

from xtest import (TEST_WINDOW, Failure, Saver, TestWindow, XServer, check, is_background_grey,
                   is_firework_colour, log, run_case, scratch_dir, write_settings)

# The opening show lasts six seconds; a shell a second afterwards makes bursts frequent.
OPENING_SECONDS = 6
SHOW_SETTINGS = {"Frequency": 60}


def window_info(server, window):
    info = {}
    for line in server.run(["xwininfo", "-id", str(window)]).splitlines():
        key, _, value = line.strip().partition(":")
        info[key.strip()] = value.strip()
    return info


def is_sky(r, g, b):
    """The twilight and the dark sky above it: no grey of the test window, blue at least red."""
    return max(r, g, b) <= 60 and b >= r >= g


def shot(server, name, window="root"):
    return server.screenshot(os.path.join(scratch_dir(), name + ".png"), window)


def window_shows_fireworks():
    write_settings(SHOW_SETTINGS)
    with XServer() as server:
        saver = Saver(server, ["-seed", "11"])
        window = server.find_window()
        info = window_info(server, window)
        check(info["Width"] == "1024" and info["Height"] == "768", "window is %sx%s" % (info["Width"], info["Height"]))
        pid = server.run(["xprop", "-id", window, "_NET_WM_PID"])
        check(str(saver.process.pid) in pid, "_NET_WM_PID is %r" % pid)
        time.sleep(OPENING_SECONDS + 1)
        best = 0
        deadline = time.monotonic() + 30
        while best < 300 and time.monotonic() < deadline:
            image = shot(server, "window", window)
            # Rows above the launch line at the bottom: the sky where bursts open.
            best = max(best, image.count(is_firework_colour, 0, image.height * 85 // 100))
        check(best >= 300, "no screenshot showed fireworks (at most %d firework pixels)" % best)
        log("firework pixels in the best screenshot: %d" % best)
        sky = image.count(is_sky)
        check(sky > image.width * image.height // 2, "the sky covers only %d pixels" % sky)
        server.xdotool("windowfocus", "--sync", window)
        server.xdotool("key", "Escape")
        saver.expect_exit(0)


def window_ends_on_quit_keys_and_close():
    with XServer() as server:
        for keys in [["q"], ["shift+q"], ["ctrl+c"], None]:
            saver = Saver(server, [])
            window = server.find_window()
            server.xdotool("windowfocus", "--sync", window)
            # Other keys, F1 and F2 among them, leave the window alone.
            server.xdotool("key", "a", "F1", "F2", "space")
            saver.still_running(1.5, "on a key that is not a quit key")
            if keys:
                server.xdotool("key", *keys)
            else:
                server.run([TEST_WINDOW, "--close", window])
            saver.expect_exit(0)
            log("window closed by %s" % (keys or "WM_DELETE_WINDOW"))


def fullscreen_covers_screen_and_ends_on_key():
    with XServer() as server:
        saver = Saver(server, ["-fullscreen"])
        window = server.find_window()
        info = window_info(server, window)
        check(info["Width"] == "1024" and info["Height"] == "768", "window is %sx%s" % (info["Width"], info["Height"]))
        check(info["Override Redirect State"] == "yes", "the full-screen window is managed")
        # F1 and F2 show their overlays while held and do not end the saver.
        server.xdotool("key", "F1", "F2")
        saver.still_running(1.5, "on F1 or F2, which the settings allow")
        server.xdotool("key", "a")
        saver.expect_exit(0)


def fullscreen_ends_on_click():
    with XServer() as server:
        saver = Saver(server, ["-fullscreen"])
        server.find_window()
        saver.still_running(1, "before any input")
        server.xdotool("click", "1")
        saver.expect_exit(0)


def fullscreen_ends_on_drift_not_jitter():
    with XServer() as server:
        saver = Saver(server, ["-fullscreen"])
        server.find_window()
        saver.still_running(1, "before any input")
        # Up to 5 pixels either way from where the pointer was when the saver appeared.
        for dx, dy in [(3, 0), (2, 0), (-10, 0), (5, 5), (0, -10), (4, 5), (-4, 0)]:
            server.xdotool("mousemove_relative", "--", dx, dy)
            time.sleep(0.2)
        saver.still_running(1.5, "on a jitter of at most 5 pixels")
        # Back at the start, then 6 pixels in single steps.
        for _ in range(6):
            server.xdotool("mousemove_relative", "--", 1, 0)
            time.sleep(0.2)
        saver.expect_exit(0)


def fullscreen_ends_when_focus_is_taken():
    with XServer() as server:
        other = TestWindow(server)
        saver = Saver(server, ["-fullscreen"])
        server.find_window()
        saver.still_running(1, "before any input")
        server.xdotool("windowfocus", other.id)
        saver.expect_exit(0)
        other.close()


def window_id_draws_inside_and_ends_with_the_window():
    with XServer() as server:
        parent = TestWindow(server, 400, 300)
        # Decimal here; hexadecimal in the -root case.
        saver = Saver(server, ["-window-id", str(int(parent.id, 16))])
        saver.still_running(3, "while drawing into the window")
        image = shot(server, "preview", parent.id)
        check(image.count(is_background_grey) == 0, "the window's own grey still shows")
        check(image.count(is_sky) > image.width * image.height // 2, "no sky inside the window")
        # Input goes to the window's owner and never ends the preview.
        before = int(parent.command("count"))
        server.xdotool("mousemove", 200, 150)
        server.xdotool("mousemove", 260, 200)
        server.xdotool("click", "1")
        server.xdotool("windowfocus", parent.id)
        server.xdotool("key", "a", "Escape", "q")
        saver.still_running(1.5, "on input to the preview window")
        check(int(parent.command("count")) > before, "the window's owner got no input")
        # The preview follows its window's size.
        parent.command("resize 500 350")
        time.sleep(1)
        children = server.run(["xwininfo", "-children", "-id", parent.id])
        child = [line.split()[0] for line in children.splitlines() if line.strip().startswith("0x")]
        check(len(child) == 1, "expected one child window, found %s" % child)
        info = window_info(server, child[0])
        check(info["Width"] == "500" and info["Height"] == "350", "child is %sx%s" % (info["Width"], info["Height"]))
        parent.command("destroy")
        saver.expect_exit(0)
        parent.close()


def root_draws_into_xscreensaver_window():
    with XServer() as server:
        target = TestWindow(server, 640, 480)
        saver = Saver(server, ["-root"], XSCREENSAVER_WINDOW=target.id)
        saver.still_running(3, "while drawing into XSCREENSAVER_WINDOW")
        image = shot(server, "daemon-window", target.id)
        check((image.width, image.height) == (640, 480),
              "the window was resized to %dx%d" % (image.width, image.height))
        check(image.count(is_background_grey) == 0, "the window's own grey still shows")
        check(image.count(is_sky) > image.width * image.height // 2, "no sky in the window")
        server.xdotool("windowfocus", target.id)
        server.xdotool("key", "a", "Escape")
        server.xdotool("mousemove", 100, 100)
        server.xdotool("mousemove", 300, 300)
        server.xdotool("click", "1")
        saver.still_running(1.5, "on input: input belongs to the daemon")
        saver.signal(signal.SIGTERM)
        saver.expect_exit(0)
        target.close()


def root_draws_into_root_window():
    with XServer() as server:
        saver = Saver(server, ["--root"])
        saver.still_running(3, "while drawing into the root window")
        image = shot(server, "root")
        check(image.count(is_sky) > image.width * image.height // 2, "no sky on the root window")
        saver.signal(signal.SIGTERM)
        saver.expect_exit(0)


def signals_end_every_mode():
    with XServer() as server:
        for number, args in [(signal.SIGTERM, []), (signal.SIGINT, ["-window"]), (signal.SIGHUP, ["-fullscreen"]),
                             (signal.SIGTERM, ["-fullscreen"])]:
            saver = Saver(server, args)
            server.find_window()
            saver.still_running(1, "before the signal")
            saver.signal(number)
            saver.expect_exit(0, timeout=20)
            log("%s ended %s" % (signal.Signals(number).name, args or "the window mode"))


def expect_one_line_error(saver, needle):
    saver.expect_exit(1)
    text = saver.stderr()
    lines = text.splitlines()
    check(lines and lines[0].startswith("vesperglow: ") and needle in lines[0],
          "expected a line with %r, got %r" % (needle, text))
    check("X Error" not in text and "failed request" not in text, "a raw X error reached the user: %r" % text)
    return lines


def bad_input_is_reported():
    with XServer() as server:
        lines = expect_one_line_error(Saver(server, ["-window-id", "zz"]), 'bad window id "zz"')
        check(len(lines) == 1, "more than one line: %r" % lines)
        expect_one_line_error(Saver(server, ["--window-id", "0x1fffff0"]), "window 0x1fffff0 does not exist")
        expect_one_line_error(Saver(server, ["-root"], XSCREENSAVER_WINDOW="0x1fffff0"),
                              "window 0x1fffff0 does not exist")
        expect_one_line_error(Saver(server, ["-root"], XSCREENSAVER_WINDOW="window"), 'bad window id "window"')
        expect_one_line_error(Saver(server, ["-seed"]), "-seed needs a number")
        lines = expect_one_line_error(Saver(server, ["-nonsense"]), 'unknown option "-nonsense"')
        check(any(line.startswith("usage:") for line in lines), "no usage after an unknown option")
        # No display at all, and a display with no server.
        expect_one_line_error(Saver(server, [], DISPLAY=""), "no display")
        expect_one_line_error(Saver(server, [], DISPLAY=":4093"), 'cannot open display ":4093"')
    with XServer(width=640, height=480, depth=8) as server:
        expect_one_line_error(Saver(server, []), "no GL-capable visual")
        expect_one_line_error(Saver(server, ["-root"]), "no GL-capable visual")


def help_and_version():
    with XServer() as server:
        saver = Saver(server, ["--help"])
        saver.expect_exit(0)
        saver.out.seek(0)
        check(saver.out.read().startswith("usage: vesperglow"), "no usage on -help")
        saver = Saver(server, ["-version"])
        saver.expect_exit(0)
        saver.out.seek(0)
        check(saver.out.read().strip() == "vesperglow 1.2.0", "unexpected version line")


if __name__ == "__main__":
    run_case({
        "window-shows-fireworks": window_shows_fireworks,
        "window-quit-keys": window_ends_on_quit_keys_and_close,
        "fullscreen-key": fullscreen_covers_screen_and_ends_on_key,
        "fullscreen-click": fullscreen_ends_on_click,
        "fullscreen-drift": fullscreen_ends_on_drift_not_jitter,
        "fullscreen-focus": fullscreen_ends_when_focus_is_taken,
        "window-id": window_id_draws_inside_and_ends_with_the_window,
        "root-xscreensaver-window": root_draws_into_xscreensaver_window,
        "root-window": root_draws_into_root_window,
        "signals": signals_end_every_mode,
        "bad-input": bad_input_is_reported,
        "help-version": help_and_version,
    })
