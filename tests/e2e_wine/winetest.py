"""Shared helpers of the Wine tests: the run's prefix and X server, running programs under Wine
with hang guards, the registry, input and screenshots."""
import os
import subprocess
import sys
import tempfile
import time

STATE_DIR = os.environ.get("VG_WINE_STATE", "")
PREFIX = os.path.join(STATE_DIR, "prefix")
SAVER_KEY = r"HKCU\Control Panel\Screen Saver.Vesperglow"
SCREEN_WIDTH = 1024
SCREEN_HEIGHT = 768
# Every wait is a hang guard only: far longer than anything takes on a loaded machine.
GUARD_SECONDS = 90


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(message, flush=True)


def display():
    with open(os.path.join(STATE_DIR, "display")) as f:
        return ":" + f.read().strip()


def environment():
    env = dict(os.environ)
    env["WINEPREFIX"] = PREFIX
    env["WINEARCH"] = "win32"
    env["WINEDEBUG"] = os.environ.get("VG_WINEDEBUG", "-all")
    env["WINEDLLOVERRIDES"] = "mscoree=;mshtml=;winemenubuilder.exe="
    if STATE_DIR and os.path.exists(os.path.join(STATE_DIR, "display")):
        env["DISPLAY"] = display()
    return env


def run(args, timeout=GUARD_SECONDS, check_status=True, own_session=False):
    """Runs a Unix command to completion; returns (status, stdout). Output goes through files, not
    pipes: Wine's own background processes inherit them and would keep a pipe open. With own_session
    the background processes it leaves outlive the test step that started them."""
    with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
        process = subprocess.Popen(args, env=environment(), stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                   start_new_session=own_session)
        try:
            status = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise Failure("hang guard: %s did not finish in %d s" % (" ".join(args), timeout))
        out.seek(0)
        err.seek(0)
        text = out.read()
        if check_status and status != 0:
            raise Failure("%s failed with %d: %s" % (" ".join(args), status, err.read().strip()))
    return status, text


def wine(args, timeout=GUARD_SECONDS, check_status=True):
    return run(["wine"] + args, timeout=timeout, check_status=check_status)


class Program:
    """A Windows program started under Wine in the background; killed by its pid if still running at the end."""

    started = []

    def __init__(self, args):
        Program.started.append(self)
        self.args = args
        self.output = tempfile.NamedTemporaryFile("w+")
        self.errors = tempfile.NamedTemporaryFile("w+")
        self.process = subprocess.Popen(["wine"] + args, env=environment(), stdin=subprocess.DEVNULL,
                                        stdout=self.output, stderr=self.errors)

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=GUARD_SECONDS):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("hang guard: %s still running after %d s" % (" ".join(self.args), timeout))

    def read_line(self, timeout=GUARD_SECONDS):
        """The first line the program printed, once it is complete."""
        def line_complete():
            with open(self.output.name) as f:
                return "\n" in f.read()
        wait_until(line_complete, "a line from " + " ".join(self.args), timeout)
        with open(self.output.name) as f:
            return f.readline().strip()

    def error_output(self):
        with open(self.errors.name) as f:
            return f.read()

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()


# The registry.

def reg_delete_key(key):
    wine(["reg", "delete", key, "/f"], check_status=False)


def reg_add(key, name, kind, data):
    wine(["reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"])


def reg_values(key):
    """The values under a key as {name: (type, data)}; data of REG_DWORD as int."""
    status, out = wine(["reg", "query", key], check_status=False)
    values = {}
    if status != 0:
        return values
    for line in out.splitlines():
        parts = [p for p in line.strip().split("    ") if p]
        if len(parts) < 2 or not parts[1].startswith("REG_"):
            continue
        name, kind = parts[0], parts[1]
        data = parts[2] if len(parts) > 2 else ""
        values[name] = (kind, int(data, 16) if kind == "REG_DWORD" else data)
    return values


def reset_saver_key():
    reg_delete_key(SAVER_KEY)


# The X side: input and screenshots.

def xdotool(*args):
    run(["xdotool"] + [str(a) for a in args])


def screenshot(path):
    """The whole screen as raw RGB bytes (also kept as a PNG beside the test's output for a human eye)."""
    run(["import", "-window", "root", path])
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE,
                         timeout=GUARD_SECONDS, check=True).stdout
    check(len(raw) == SCREEN_WIDTH * SCREEN_HEIGHT * 3, "unexpected screenshot size %d" % len(raw))
    return raw


def pixel(raw, x, y):
    i = (y * SCREEN_WIDTH + x) * 3
    return raw[i], raw[i + 1], raw[i + 2]


def output_dir():
    path = os.path.join(STATE_DIR, "output")
    os.makedirs(path, exist_ok=True)
    return path


def wait_until(predicate, what, timeout=GUARD_SECONDS, step=0.25):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        time.sleep(step)
    raise Failure("hang guard: gave up waiting for " + what)


def main(cases):
    """Runs the named case (argv[1]) from a dict of case functions; exit status 0 only when it passes."""
    name = sys.argv[1]
    try:
        cases[name]()
    except Failure as failure:
        print("FAIL: %s" % failure, flush=True)
        for program in Program.started:
            if os.environ.get("VG_WINEDEBUG"):
                print("--- %s:\n%s" % (" ".join(program.args), program.error_output()))
        sys.exit(1)
    print("PASS", flush=True)


# The saver and the test programs.

SAVER_CLASS = "WindowsScreenSaverClass"
WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_LBUTTONDOWN = 0x0201
WM_MOUSEMOVE = 0x0200
WM_POWERBROADCAST = 0x0218


def probe(*args):
    """Runs probe.exe; returns its output lines, or None when the window it asked about is not there."""
    status, out = wine([os.environ["VG_PROBE"]] + [str(a) for a in args], check_status=False)
    check(status in (0, 1), "probe %s failed with %d" % (" ".join(map(str, args)), status))
    return out.split() if status == 0 else None


def find_window(window_class, title):
    found = probe("find", window_class, title)
    return int(found[0]) if found else None


def wait_for_window(window_class, title, timeout=GUARD_SECONDS):
    found = []
    wait_until(lambda: found.append(find_window(window_class, title)) or found[-1] is not None,
               "window %s %r" % (window_class, title), timeout, step=0.5)
    return found[-1]


def window_rect(handle):
    found = probe("rect", handle)
    check(found is not None, "window %d is gone" % handle)
    return [int(v) for v in found]


def start_saver(*args):
    return Program([os.environ["VG_SCR"]] + [str(a) for a in args])


# Input is given only once the window is up and the show runs, as a user's would be.
SETTLE_SECONDS = 3


def start_full_screen():
    """The saver started with /s, once its window exists and has settled."""
    saver = start_saver("/s")
    window = wait_for_window(SAVER_CLASS, "Screen Saver")
    time.sleep(SETTLE_SECONDS)
    check(saver.running(), "the saver ended on its own")
    return saver, window


def click_at(x, y):
    xdotool("mousemove", x, y)
    xdotool("click", 1)


def dismiss_error_box(expected_text):
    """Checks the text of the modal "Error" box the program shows, then presses its OK button."""
    box = wait_for_window("#32770", "Error")
    texts = probe("texts", "Error")
    check(texts is not None and expected_text in " ".join(texts),
          "the Error box says %r, not %r" % (texts, expected_text))
    left, top, right, bottom = [int(v) for v in probe("control-rect", box, 1)]
    click_at((left + right) // 2, (top + bottom) // 2)
    wait_until(lambda: find_window("#32770", "Error") is None, "the Error box to close")
