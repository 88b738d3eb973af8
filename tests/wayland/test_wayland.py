"""The saver as a Wayland client, under headless sway run by an ordinary user."""
import json
import os
import re
import shlex
import signal
import subprocess

from e2e import Process, XServer, check, is_firework_colour, log, run_case, wait_until
from sway import OUTPUTS, USER, VESPERGLOW, Sway

# Bursts from the start: no opening title, whose letters would pass for fireworks.
BURSTS = ("-no-display-title", "-frequency", "60")
README = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "README.md")


def is_sky(r, g, b):
    return max(r, g, b) <= 60 and b >= r >= g


def shows_fireworks(sway, name, boxes, output=None):
    """Waits until every box of grim's picture is mostly sky with fireworks in it."""
    def drawn():
        image = sway.shot(name, output)
        return all(image.count(is_firework_colour, box) >= 200 and
                   image.count(is_sky, box) > (box[2] - box[0]) * (box[3] - box[1]) // 2 for box in boxes)
    wait_until(drawn, "sky and fireworks in %s of %s" % (boxes, name), step=1)


def saver(sway, *args, **extra):
    process = sway.start(["vesperglow"] + list(args), "saver.log", **extra)
    def program():
        try:
            return os.readlink("/proc/%d/exe" % process.pid).endswith("/vesperglow-wayland")
        except OSError:
            return False
    wait_until(lambda: program() or process.poll() is not None, "vesperglow running vesperglow-wayland")
    check(program(), "vesperglow did not run its Wayland program: " + sway.log("saver.log"))
    return process


def expect_exit(sway, process, code, why):
    status = process.wait(timeout=60)
    check(status == code, "%s: exit %d, expected %d; log: %s" % (why, status, code, sway.log("saver.log")))


def windows_of(sway, pid):
    """(output, con id, app id, title, focused) of each window of the process, from sway's tree."""
    found = []
    def walk(node, output):
        output = node["name"] if node.get("type") == "output" else output
        if node.get("pid") == pid:
            found.append((output, node["id"], node.get("app_id"), node.get("name"), node.get("focused")))
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child, output)
    walk(json.loads(sway.run(["swaymsg", "-t", "get_tree"]).stdout), None)
    return found


def fullscreen_on_every_output_and_every_way_out():
    with Sway() as sway:
        ways_out = [("a key", lambda: sway.run(["wtype", "-k", "a"])),
                    ("focus leaving", lambda: sway.run(["swaymsg", "workspace", "9"])),
                    ("SIGTERM", lambda: program.send_signal(signal.SIGTERM))]
        for why, leave in ways_out:
            program = saver(sway, "-fullscreen", "-seed", "5", *BURSTS)
            shows_fireworks(sway, "fullscreen", list(OUTPUTS.values()))
            leave()
            expect_exit(sway, program, 0, why)
            sway.run(["swaymsg", "workspace", "1"])
        # An output created while it runs gets a show of its own.
        program = saver(sway, "-fullscreen", *BURSTS)
        shows_fireworks(sway, "fullscreen", list(OUTPUTS.values()))
        check(sway.run(["swaymsg", "create_output"]).returncode == 0, "swaymsg create_output failed")
        shows_fireworks(sway, "hot-plugged", [(0, 0, 1920, 1080)], "HEADLESS-3")
        # The compositor closing a window ends that show alone; closing the last ends the saver with 0.
        windows = wait_until(lambda: windows_of(sway, program.pid)[2:], "a window on every output")
        sway.run(["swaymsg", "[con_id=%d] kill" % next(w[1] for w in windows if not w[4])])
        outputs = lambda: [w[0] for w in windows_of(sway, program.pid)]
        left = wait_until(lambda: len(outputs()) == 2 and outputs(), "one window closing")
        sizes = {"HEADLESS-1": (1024, 768), "HEADLESS-2": (800, 600), "HEADLESS-3": (1920, 1080)}
        for output in left:
            shows_fireworks(sway, "one-closed-" + output, [(0, 0) + sizes[output]], output)
        sway.run(["swaymsg", "[pid=%d] kill" % program.pid])
        expect_exit(sway, program, 0, "every window closed")
        # The compositor going away ends it with 1 and one line.
        program = saver(sway, "-fullscreen")
        wait_until(lambda: windows_of(sway, program.pid)[2:], "a window on every output")
        sway.sway.kill()
        expect_exit(sway, program, 1, "sway killed")
        lines = sway.log("saver.log").strip().splitlines()
        check(lines == ["vesperglow: Error: the Wayland compositor went away"], "not one line: %r" % lines)


def is_lone_bright(image, x, y):
    """A star of one pixel: bright, with all eight neighbours much darker."""
    def brightness(px, py):
        at = (py * image.width + px) * 3
        return max(image.rgb[at:at + 3])
    level = brightness(x, y)
    return level >= 90 and all(brightness(x + dx, y + dy) * 2 < level
                               for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy)


def scale_two_draws_twice_the_logical_size():
    with Sway("output HEADLESS-2 scale 2\n") as sway:
        program = saver(sway, "-fullscreen", "-stars", "3", WAYLAND_DEBUG="client")
        shows_fireworks(sway, "scale-2", [(0, 0, 800, 600)], "HEADLESS-2")
        image = sway.shot("scale-2-stars", "HEADLESS-2")
        program.send_signal(signal.SIGTERM)
        expect_exit(sway, program, 0, "SIGTERM")
        requests = sway.log("saver.log")
        check("set_buffer_scale(2)" in requests, "no buffer scale 2 was set")
        check(re.search(r"create_buffer\(new id wl_buffer@\d+, 0, 800, 600,", requests), "no 800x600 buffer")
        check(not re.search(r"create_buffer\(new id wl_buffer@\d+, 0, 400, 300,", requests), "a 400x300 buffer")
        stars = sum(is_lone_bright(image, x, y) for y in range(1, 300) for x in range(1, image.width - 1))
        log("%d one-pixel stars in the upper half of HEADLESS-2" % stars)
        check(stars >= 10, "no one-pixel stars: the buffer was scaled up")


def window_and_the_idle_daemon():
    with Sway() as sway:
        # Without an EGL driver: one line and 1.
        result = sway.run(["vesperglow", "-window"], __EGL_VENDOR_LIBRARY_FILENAMES="/nonexistent.json")
        check((result.returncode, result.stderr) == (1, "vesperglow: Error: no EGL on this Wayland display\n"),
              "without EGL: %d, %r" % (result.returncode, result.stderr))
        program = saver(sway, "-window", *BURSTS)
        windows = wait_until(lambda: windows_of(sway, program.pid), "the saver's toplevel")
        check([w[2:4] for w in windows] == [("vesperglow", "Vesperglow")], "not titled Vesperglow: %r" % windows)
        # Inside sway's title bar and borders, whose blue would pass for fireworks.
        shows_fireworks(sway, "window", [(10, 40, 1014, 758)])
        sway.run(["wtype", "-k", "q"])
        expect_exit(sway, program, 0, "q")
        # The README's line, with a timeout of a second.
        line = next(l.strip() for l in open(README) if l.strip().startswith("swayidle timeout "))
        args = [re.sub(r"^\d+$", "1", word) for word in shlex.split(line)]
        idle = sway.start(args, "swayidle.log")
        try:
            pids = lambda: subprocess.run(["pgrep", "-u", USER, "-x", "vesperglow"], capture_output=True,
                                          text=True).stdout.split()
            started = wait_until(pids, "swayidle starting the saver")
            shows_fireworks(sway, "swayidle", list(OUTPUTS.values()))
            sway.run(["wtype", "-k", "a"])
            wait_until(lambda: started[0] not in pids(), "the saver ending on a key")
        finally:
            idle.terminate()
            idle.wait(timeout=60)


def faults_and_the_x11_fallback():
    env = dict(os.environ, WAYLAND_DISPLAY="vg-no-such-display", XDG_RUNTIME_DIR=os.environ["HOME"])
    for args, words in ((["-wayland", "-fullscreen"], 'the Wayland display "vg-no-such-display"'),
                        (["-wayland", "-root"], "-root and -window-id draw on X11 only")):
        process = Process([VESPERGLOW] + args, env)
        process.expect_exit(1)
        lines = process.stderr().strip().splitlines()
        check(len(lines) == 1 and words in lines[0], "%s: not one line naming it: %r" % (args, lines))
    # A Wayland display that does not answer: X11 without a word.
    with XServer() as server:
        process = Process([VESPERGLOW, "-window"], server.env(WAYLAND_DISPLAY="vg-no-such-display",
                                                                XDG_RUNTIME_DIR=os.environ["HOME"]))
        server.find_window()
        process.signal(signal.SIGTERM)
        process.expect_exit(0)
        check(process.stderr() == "", "it said something: " + process.stderr())


if __name__ == "__main__":
    run_case(globals(), tools=("sway", "swaymsg", "grim", "wtype", "swayidle", "Xvfb", "xdotool", "convert"))
