"""Helpers shared by the end-to-end tests of the Linux program and of the Windows build under Wine:
X servers on free display numbers, programs run with hang guards, and screenshots read as pixels."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Every wait is a hang guard only: far longer than anything takes on a loaded machine.
GUARD_SECONDS = 90

# The seventeen settings and their defaults, as the key file and the registry hold them.
SAVER_DEFAULTS = {
    "Frequency": 30, "Display Width": 0, "Display Height": 0, "Display Bits": 0,
    "F1 Displays Window Border": 1, "F2 Displays Frame Rate": 1, "Display Vesperglow": 1, "Alpha Blending": 1,
    "Twilight Sky": 1, "Stars": 1, "Spherical Weight": 5, "Blast Weight": 5, "Weeping Willow Weight": 5,
    "Sparkling Weight": 5, "Chain Reaction Weight": 5, "Cork Screw Weight": 5, "Waver Weight": 5,
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(message, flush=True)


def wait_until(predicate, what, timeout=GUARD_SECONDS, step=0.2):
    """The first true value of predicate(), polled until the hang guard."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    raise Failure("hang guard: %s did not happen within %d s" % (what, timeout))


def scratch_dir():
    return tempfile.mkdtemp(prefix="vg-e2e-", dir=os.environ.get("HOME") or None)


def run(args, env=None, timeout=GUARD_SECONDS, check_status=True, own_session=False):
    """Runs a command to completion; returns (status, stdout). With own_session, background
    processes it leaves (Wine's) outlive the test step that started them."""
    process = Process(args, env, own_session)
    status = process.wait(timeout)
    check(not check_status or status == 0, "%s failed with %d: %s" % (" ".join(args), status, process.stderr().strip()))
    return status, process.stdout()


class Process:
    """A program run in the background with its output in files, not pipes: background processes it
    leaves (Wine's) would keep a pipe open. stop() kills it if still running."""

    def __init__(self, args, env, own_session=False):
        self.args = args
        self.out = tempfile.NamedTemporaryFile("w+")
        self.err = tempfile.NamedTemporaryFile("w+")
        self.process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=self.out, stderr=self.err,
                                        start_new_session=own_session)

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=GUARD_SECONDS):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.stop()
            raise Failure("hang guard: %s still ran after %d s" % (" ".join(self.args), timeout))

    def expect_exit(self, code, timeout=GUARD_SECONDS):
        status = self.wait(timeout)
        check(status == code, "%s ended with %d, expected %d; stderr: %s"
              % (" ".join(self.args), status, code, self.stderr().strip()))

    def still_running(self, seconds, why):
        time.sleep(seconds)
        check(self.running(), "%s ended %s (status %s); stderr: %s"
              % (self.args[0], why, self.process.poll(), self.stderr().strip()))

    def cpu_seconds_over(self, seconds):
        """The user and system time the program takes in the next seconds."""
        def used():
            with open("/proc/%d/stat" % self.process.pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        before = used()
        time.sleep(seconds)
        return used() - before

    def signal(self, number):
        if self.running():
            self.process.send_signal(number)

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def stdout(self):
        with open(self.out.name) as f:
            return f.read()

    def stderr(self):
        with open(self.err.name) as f:
            return f.read()

    def read_line(self):
        """The first line the program printed, once it is complete."""
        return wait_until(lambda: "\n" in self.stdout() and self.stdout().split("\n")[0].strip(),
                          "a line from " + " ".join(self.args))


class XServer:
    """Xvfb, or Xorg with the dummy driver (which can switch display modes), on a display number the
    server picks itself (-displayfd). With detached it runs in a session of its own and outlives this
    process (the Wine tests share one server, started by a fixture)."""

    def __init__(self, kind="xvfb", width=1024, height=768, depth=24, workdir=None, detached=False):
        workdir = workdir or scratch_dir()
        read_end, write_end = os.pipe()
        if kind == "xvfb":
            args = ["Xvfb", "-screen", "0", "%dx%dx%d" % (width, height, depth)]
        else:
            config = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xorg-dummy.conf")
            args = ["Xorg", "-config", config, "-logfile", os.path.join(workdir, "xorg.log")]
        args += ["-displayfd", str(write_end), "-nolisten", "tcp", "-noreset"]
        self.log_path = os.path.join(workdir, "server.log")
        with open(self.log_path, "w") as server_log:
            self.process = subprocess.Popen(args, pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=server_log,
                                            stderr=subprocess.STDOUT, start_new_session=detached)
        os.close(write_end)
        # The server writes its display number once it is ready; it closes the pipe if it fails.
        with os.fdopen(read_end) as numbers:
            self.display = ":" + numbers.readline().strip()
        if self.display == ":":
            self.stop()
            with open(self.log_path) as f:
                raise Failure("%s did not start: %s" % (args[0], f.read()[-2000:]))
        log("%s on %s" % (args[0], self.display))

    def env(self, **extra):
        env = dict(os.environ, DISPLAY=self.display)
        env.pop("XSCREENSAVER_WINDOW", None)
        env.pop("WAYLAND_DISPLAY", None)  # run under a Wayland desktop, vesperglow would go there
        env.update(extra)
        return env

    def run(self, args, check_status=True):
        """Runs an X client to completion; returns its standard output."""
        return run([str(a) for a in args], self.env(), check_status=check_status)[1]

    def add_monitor(self, side="right-of", mode="800x600", output="DUMMY1"):
        """A second monitor beside the first (Xorg's dummy driver only); "off" takes it away again."""
        if side == "off":
            self.run(["xrandr", "--output", output, "--off"])
            return
        self.run(["xrandr", "--addmode", output, mode], check_status=False)  # already added: fine
        self.run(["xrandr", "--output", output, "--mode", mode, "--" + side, "DUMMY0"])

    def xdotool(self, *args):
        return self.run(["xdotool"] + list(args))

    def windows(self, name):
        """The viewable windows with this name."""
        return self.run(["xdotool", "search", "--onlyvisible", "--name", name], check_status=False).split()

    def find_window(self, name="^Vesperglow$"):
        return wait_until(lambda: self.windows(name)[:1], "a viewable window named " + name)[0]

    def screenshot(self, name, window="root"):
        return screenshot(self.env(), os.path.join(scratch_dir(), name + ".png"), window)

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


def screenshot(env, path, window="root"):
    """A window's pixels (the whole screen for root), also kept at path for a human eye."""
    run(["import", "-window", str(window), path], env)
    return Image(path)


class Image:
    """A screenshot's pixels, as 8-bit RGB rows from the top."""

    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True, check=True,
                             timeout=GUARD_SECONDS).stdout
        magic, size, _, self.rgb = ppm.split(b"\n", 3)
        self.width, self.height = map(int, size.split())
        check(magic == b"P6" and len(self.rgb) == self.width * self.height * 3, "unexpected pixel data in " + path)

    def count(self, predicate, box=None):
        """How many pixels in box (left, top, right, bottom; default all) satisfy predicate(r, g, b)."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        data, total = self.rgb, 0
        for y in range(top, min(bottom, self.height)):
            row = y * self.width * 3
            for at in range(row + left * 3, row + min(right, self.width) * 3, 3):
                total += bool(predicate(data[at], data[at + 1], data[at + 2]))
        return total


def is_firework_colour(r, g, b):
    """Burst colours are saturated: one channel well above another. The violet twilight stays
    below 0.16 in every channel and the stars are greys with at most 0.2 of tint."""
    high = max(r, g, b)
    return high >= 120 and high - min(r, g, b) >= 80


def run_case(cases, tools=()):
    """Runs the case named on the command line: the function of that name among cases (a script's
    globals), with dashes for underscores. A Failure is a test failure, and so is a missing tool."""
    case = cases.get(sys.argv[1].replace("-", "_")) if len(sys.argv) == 2 else None
    if not callable(case) or case.__module__ != cases["__name__"]:
        print("usage: %s CASE, the name of one of its case functions" % sys.argv[0], file=sys.stderr)
        sys.exit(2)
    try:
        for tool in tools:
            check(shutil.which(tool), tool + " is missing")
        case()
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr, flush=True)
        sys.exit(1)
    log("PASS " + sys.argv[1])
