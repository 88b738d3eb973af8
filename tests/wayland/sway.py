"""Headless sway as an ordinary user (sway refuses root), with the user's clients run beside it."""
import glob
import os
import pwd
import shutil
import subprocess
import tempfile

from e2e import GUARD_SECONDS, Image, check, log, wait_until

USER = "vesperglow-wl"
VESPERGLOW = os.environ.get("VG_VESPERGLOW", "")
# HEADLESS-1 1024x768 at 0,0 and HEADLESS-2 800x600 to its right, as the rectangles of grim's shot.
OUTPUTS = {"HEADLESS-1": (0, 0, 1024, 768), "HEADLESS-2": (1024, 0, 1824, 600)}
CONFIG = "output HEADLESS-1 resolution 1024x768 position 0 0\noutput HEADLESS-2 resolution 800x600 position 1024 0\n"


class Sway:
    def __init__(self, extra_config="", outputs=2):
        try:
            pwd.getpwnam(USER)
        except KeyError:
            subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", USER],
                           check=True, timeout=GUARD_SECONDS)
        self.home = tempfile.mkdtemp(prefix="vg-sway-")
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        # vesperglow on the PATH, as a user's installed one would be.
        os.mkdir(os.path.join(self.home, "bin"))
        os.symlink(VESPERGLOW, os.path.join(self.home, "bin", "vesperglow"))
        with open(os.path.join(self.home, "sway.conf"), "w") as f:
            f.write(CONFIG + extra_config)
        subprocess.run(["chown", "-R", USER + ":", self.home], check=True, timeout=GUARD_SECONDS)
        os.chmod(self.home, 0o755)
        self.env = {"HOME": self.home, "XDG_RUNTIME_DIR": runtime,
                    "PATH": os.path.join(self.home, "bin") + ":/usr/bin:/bin"}
        self.log_path = os.path.join(self.home, "sway.log")
        self.sway = self.start(["sway", "-c", os.path.join(self.home, "sway.conf")], "sway.log",
                               WLR_BACKENDS="headless", WLR_HEADLESS_OUTPUTS=str(outputs), WLR_RENDERER="pixman",
                               WLR_LIBINPUT_NO_DEVICES="1")
        sockets = wait_until(lambda: glob.glob(runtime + "/wayland-*[0-9]") and glob.glob(runtime + "/sway-ipc.*"),
                             "sway's sockets")
        self.env.update(WAYLAND_DISPLAY=os.path.basename(glob.glob(runtime + "/wayland-*[0-9]")[0]),
                        SWAYSOCK=sockets[0])
        wait_until(lambda: self.run(["swaymsg", "-t", "get_outputs"]).returncode == 0, "sway answering")
        # A keyboard for the whole session, as a desktop has: wtype's virtual one, idle for an hour.
        # Without it the seat has none, and no client ever holds the keyboard focus.
        self.keyboard = self.start(["wtype", "-s", "3600000", "-k", "F13"], "keyboard.log")
        wait_until(lambda: '"type": "keyboard"' in self.run(["swaymsg", "-t", "get_seats"]).stdout, "a keyboard")

    def start(self, args, log_name, **extra):
        with open(os.path.join(self.home, log_name), "w") as output:
            return subprocess.Popen(args, env=dict(self.env, **extra), cwd=self.home, stdin=subprocess.DEVNULL,
                                    stdout=output, stderr=subprocess.STDOUT, user=USER, group=USER, extra_groups=[])

    def log(self, log_name):
        with open(os.path.join(self.home, log_name)) as f:
            return f.read()

    def run(self, args, **extra):
        return subprocess.run(args, env=dict(self.env, **extra), cwd=self.home, capture_output=True, text=True,
                              timeout=GUARD_SECONDS, user=USER, group=USER, extra_groups=[])

    def shot(self, name, output=None):
        """grim's picture of every output (or one), kept in the test's HOME for a human eye."""
        path = os.path.join(self.home, name + ".png")
        result = self.run(["grim"] + (["-o", output] if output else []) + [path])
        check(result.returncode == 0, "grim failed: " + result.stderr)
        kept = os.path.join(os.environ.get("HOME", "/tmp"), name + ".png")
        shutil.copy(path, kept)
        log("screenshot " + kept)
        return Image(path)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.keyboard.kill()
        if self.sway.poll() is None:
            self.sway.terminate()
            self.sway.wait(timeout=GUARD_SECONDS)
        shutil.rmtree(self.home, ignore_errors=True)
        return False
