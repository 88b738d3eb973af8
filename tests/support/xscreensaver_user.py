"""An ordinary user running the xscreensaver daemon, which launches no hack as root, on a test's
X server. The user's home lies outside the test's own HOME, which only root may enter."""
import os
import pwd
import shutil
import subprocess
import tempfile

from e2e import GUARD_SECONDS, check, is_firework_colour, screenshot, wait_until


class XscreensaverUser:
    def __init__(self, name, server):
        try:
            pwd.getpwnam(name)
        except KeyError:  # made as root, which the package test checks it runs as
            subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name],
                           check=True, timeout=GUARD_SECONDS)
        self.name, self.server, self.daemon = name, server, None
        self.home = tempfile.mkdtemp(prefix="vg-xss-")
        os.chmod(self.home, 0o755)
        # Daemons pass no XDG variables and a plain PATH.
        self.env = {"HOME": self.home, "DISPLAY": server.display, "PATH": "/usr/bin:/bin"}

    def hand_over_home(self):
        """What the test wrote there becomes the user's."""
        subprocess.run(["chown", "-R", "%s:" % self.name, self.home], check=True, timeout=GUARD_SECONDS)

    def run(self, args):
        self.hand_over_home()
        return subprocess.run(args, env=self.env, cwd=self.home, capture_output=True, text=True,
                              timeout=GUARD_SECONDS, user=self.name)

    def start_daemon(self):
        self.hand_over_home()
        self.log_path = os.path.join(self.home, "daemon.log")
        with open(self.log_path, "w") as daemon_log:
            self.daemon = subprocess.Popen(["xscreensaver", "-no-splash", "-verbose"], env=self.env, cwd=self.home,
                                           stdin=subprocess.DEVNULL, stdout=daemon_log, stderr=subprocess.STDOUT,
                                           user=self.name)
        wait_until(lambda: self.command("-time"), "the daemon answering")

    def command(self, *verb):
        return self.run(["xscreensaver-command"] + list(verb)).returncode == 0

    def processes(self, pattern):
        return subprocess.run(["pgrep", "-u", self.name, "-f", pattern], capture_output=True, text=True,
                              timeout=GUARD_SECONDS).stdout.split()

    def hack_runs_and_stops(self, pattern, draws_fireworks=True):
        """The blanked screen's hack: it runs (drawing fireworks in the daemon's window, when asked)
        until -deactivate ends it. Returns the program file that ran."""
        pid = wait_until(lambda: (self.processes(pattern) or [None])[0], "the daemon starting " + pattern)
        program = os.readlink("/proc/%s/exe" % pid)
        with open("/proc/%s/environ" % pid, "rb") as f:
            variables = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
        window = variables.get(b"XSCREENSAVER_WINDOW", b"").decode()
        check(window, "the daemon gave %s no XSCREENSAVER_WINDOW" % pattern)
        if draws_fireworks:
            shot = os.path.join(self.home, "blanked.png")
            wait_until(lambda: screenshot(self.server.env(), shot, window).count(is_firework_colour) >= 200,
                       "fireworks in the daemon's window %s" % window, step=0.5)
        check(self.command("-deactivate"), "xscreensaver-command -deactivate failed")
        wait_until(lambda: not self.processes(pattern), pattern + " ending on the daemon's SIGTERM")
        # The daemon's screen process unfades first; a -select before it is gone would be lost.
        wait_until(lambda: not self.processes("xscreensaver-gfx"), "the daemon's screen process ending")
        return program

    def saver_errors(self):
        with open(self.log_path) as f:
            return [line for line in f if line.startswith("vesperglow:")]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.daemon and self.daemon.poll() is None:
            self.daemon.terminate()
            self.daemon.wait(timeout=GUARD_SECONDS)
        shutil.rmtree(self.home, ignore_errors=True)
        return False
