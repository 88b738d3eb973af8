"""Helpers of the X11 end-to-end tests: X servers of their own on free display numbers, the
program and its settings, input through xdotool, and screenshots read back as pixels."""
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

VESPERGLOW = os.environ.get("VG_VESPERGLOW", "")
TEST_WINDOW = os.environ.get("VG_TEST_WINDOW", "")
SETTINGS_GROUP = "Control Panel\\Screen Saver.Vesperglow"
# Every wait is a hang guard only: far longer than anything takes on a loaded machine.
GUARD_SECONDS = 60

XORG_DUMMY_CONFIG = """\
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 64000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-100.0
    VertRefresh 5.0-200.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600" "640x480"
    EndSubSection
EndSection
"""


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(message, flush=True)


def wait_until(predicate, what, timeout=GUARD_SECONDS, step=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    raise Failure("hang guard: %s did not happen within %d s" % (what, timeout))


def scratch_dir():
    root = os.environ.get("HOME") or tempfile.gettempdir()
    return tempfile.mkdtemp(prefix="vg-x11-", dir=root)


class XServer:
    """Xvfb, or Xorg with the dummy driver (which can switch display modes), on a display number
    the server picks itself (-displayfd)."""

    def __init__(self, kind="xvfb", width=1024, height=768, depth=24):
        self.workdir = scratch_dir()
        read_end, write_end = os.pipe()
        if kind == "xvfb":
            args = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx%d" % (width, height, depth),
                    "-nolisten", "tcp", "-noreset"]
        else:
            config = os.path.join(self.workdir, "xorg.conf")
            with open(config, "w") as f:
                f.write(XORG_DUMMY_CONFIG)
            args = ["Xorg", "-displayfd", str(write_end), "-config", config, "-noreset", "-nolisten", "tcp",
                    "-logfile", os.path.join(self.workdir, "xorg.log")]
        self.log = open(os.path.join(self.workdir, "server.log"), "w")
        self.process = subprocess.Popen(args, pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + GUARD_SECONDS
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                self.stop()
                raise Failure("%s did not start: %s" % (args[0], self.log_text()))
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        log("%s on %s" % (args[0], self.display))

    def log_text(self):
        self.log.flush()
        with open(self.log.name) as f:
            return f.read()[-2000:]

    def env(self, **extra):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("XSCREENSAVER_WINDOW", None)
        env.update(extra)
        return env

    def run(self, args, timeout=GUARD_SECONDS, check_status=True):
        """Runs an X client to completion; returns its standard output."""
        try:
            done = subprocess.run(args, env=self.env(), stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("hang guard: %s did not finish in %d s" % (" ".join(args), timeout))
        if check_status and done.returncode != 0:
            raise Failure("%s failed with %d: %s" % (" ".join(args), done.returncode, done.stderr.strip()))
        return done.stdout

    def xdotool(self, *args):
        return self.run(["xdotool"] + [str(a) for a in args])

    def find_window(self, name="^Vesperglow$"):
        """The id of the first window with this name, waiting for it to exist and be viewable."""
        def viewable():
            found = self.run(["xdotool", "search", "--name", name], check_status=False).split()
            for window in found:
                info = self.run(["xwininfo", "-id", window], check_status=False)
                if "IsViewable" in info:
                    return window
            return None
        return wait_until(viewable, "a viewable window named %s" % name)

    def screenshot(self, path, window="root"):
        self.run(["import", "-window", str(window), path])
        return Image(path)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


class Image:
    """A screenshot's pixels, as 8-bit RGB rows from the top."""

    def __init__(self, path):
        self.path = path
        geometry = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                                  check=True, timeout=GUARD_SECONDS).stdout.split()
        self.width, self.height = int(geometry[0]), int(geometry[1])
        self.rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                                  timeout=GUARD_SECONDS).stdout
        check(len(self.rgb) == self.width * self.height * 3, "unexpected pixel data in " + path)

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def count(self, predicate, top=0, bottom=None):
        """How many pixels in rows top..bottom satisfy predicate(r, g, b)."""
        bottom = self.height if bottom is None else bottom
        data = self.rgb
        total = 0
        for at in range(top * self.width * 3, bottom * self.width * 3, 3):
            if predicate(data[at], data[at + 1], data[at + 2]):
                total += 1
        return total


def is_firework_colour(r, g, b):
    """Burst colours are saturated: one channel well above another. The violet twilight stays
    below 0.16 in every channel and the stars are greys with at most 0.2 of tint."""
    high = max(r, g, b)
    return high >= 120 and high - min(r, g, b) >= 80


def is_background_grey(r, g, b):
    return r == g == b == 0x80


def write_settings(values):
    """Writes the saver's settings for this test's own HOME (XDG_CONFIG_HOME)."""
    folder = os.path.join(os.environ["XDG_CONFIG_HOME"], "vesperglow")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "vesperglow.conf"), "w") as f:
        f.write("[%s]\n" % SETTINGS_GROUP)
        for name, value in values.items():
            f.write("%s=%d\n" % (name, value))


class Process:
    """A program run in the background with its output in files; killed if still running at the end."""

    def __init__(self, args, env, stdin=subprocess.DEVNULL, stdout=None):
        self.args = args
        workdir = scratch_dir()
        self.err = open(os.path.join(workdir, "stderr"), "w+")
        self.out = stdout or open(os.path.join(workdir, "stdout"), "w+")
        self.process = subprocess.Popen(args, env=env, stdin=stdin, stdout=self.out, stderr=self.err)

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=GUARD_SECONDS):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise Failure("hang guard: %s still ran after %d s" % (" ".join(self.args), timeout))

    def signal(self, number):
        if self.running():
            self.process.send_signal(number)

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def stderr(self):
        self.err.flush()
        self.err.seek(0)
        return self.err.read()


class Saver(Process):
    def __init__(self, server, args, **extra_env):
        check(VESPERGLOW and os.path.exists(VESPERGLOW), "VG_VESPERGLOW does not name the program")
        Process.__init__(self, [VESPERGLOW] + args, server.env(**extra_env))

    def expect_exit(self, code, timeout=GUARD_SECONDS):
        status = self.wait(timeout)
        check(status == code, "%s ended with %d, expected %d; stderr: %s"
              % (" ".join(self.args), status, code, self.stderr().strip()))

    def still_running(self, seconds, why):
        time.sleep(seconds)
        check(self.running(), "the saver ended %s (status %s); stderr: %s"
              % (why, self.process.poll(), self.stderr().strip()))


class TestWindow:
    """The in-tree window program: a grey window owned by another client."""

    def __init__(self, server, width=400, height=300):
        check(TEST_WINDOW and os.path.exists(TEST_WINDOW), "VG_TEST_WINDOW does not name the window program")
        self.process = subprocess.Popen([TEST_WINDOW, str(width), str(height)], env=server.env(),
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.id = self.read_line()
        check(self.id.startswith("0x"), "the window program printed %r" % self.id)

    def read_line(self):
        ready, _, _ = select.select([self.process.stdout], [], [], GUARD_SECONDS)
        check(ready, "hang guard: the window program did not answer")
        return self.process.stdout.readline().strip()

    def command(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()
        return self.read_line()

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            self.process.wait(timeout=GUARD_SECONDS)


def run_case(cases, tools=("Xvfb", "xdotool", "xwininfo", "import", "convert", "identify")):
    """Runs the case named on the command line; a Failure is a test failure, and so is a missing tool."""
    name = sys.argv[1] if len(sys.argv) > 1 else ""
    if name not in cases:
        print("unknown case %r; cases: %s" % (name, " ".join(sorted(cases))), file=sys.stderr)
        sys.exit(2)
    try:
        for tool in tools:
            check(shutil.which(tool), tool + " is missing")
        cases[name]()
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        sys.exit(1)
    log("PASS " + name)

