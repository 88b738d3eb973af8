"""The xscreensaver daemon runs the program as one of its hacks: -root in the window it names in
XSCREENSAVER_WINDOW, ended with SIGTERM when the screen unblanks. The daemon launches nothing as
root, so it runs as an ordinary user here."""
import os
import pwd
import shutil
import subprocess
import tempfile

from e2e import GUARD_SECONDS, XServer, check, is_firework_colour, run_case, screenshot, wait_until
from xtest import VESPERGLOW, write_settings

TEST_USER = "vesperglow-xss"


def daemon_user():
    """An ordinary user for the daemon: created when the tests run as root, else the caller."""
    if os.geteuid() != 0:
        return pwd.getpwuid(os.geteuid()).pw_name
    try:
        pwd.getpwnam(TEST_USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", TEST_USER],
                       check=True, timeout=GUARD_SECONDS)
    return TEST_USER


def hack_processes(user):
    return subprocess.run(["pgrep", "-u", user, "-f", "vesperglow --root"], capture_output=True, text=True,
                          timeout=GUARD_SECONDS).stdout.split()


def daemon_runs_the_saver_on_its_window():
    user = daemon_user()
    # The daemon's home: outside the test's own HOME, which only root may enter.
    home = tempfile.mkdtemp(prefix="vg-xss-")
    os.chmod(home, 0o755)
    program = os.path.join(home, "vesperglow")
    shutil.copy(VESPERGLOW, program)
    with open(os.path.join(home, ".xscreensaver"), "w") as f:
        f.write("mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\nunfade: False\n")
        f.write("programs: GL: %s --root \\n\n" % program)
    # Daemons pass no XDG variables: the settings must be found through HOME.
    write_settings({"Frequency": 60}, os.path.join(home, ".config"))
    subprocess.run(["chown", "-R", "%s:" % user, home], check=True, timeout=GUARD_SECONDS)
    as_user = {"user": user} if os.geteuid() == 0 else {}
    daemon = None
    try:
        with XServer() as server:
            env = {"HOME": home, "DISPLAY": server.display, "PATH": os.environ.get("PATH", "/usr/bin:/bin")}
            log_path = os.path.join(home, "daemon.log")
            with open(log_path, "w") as daemon_log:
                daemon = subprocess.Popen(["xscreensaver", "-no-splash", "-verbose"], env=env, cwd=home,
                                          stdin=subprocess.DEVNULL, stdout=daemon_log, stderr=subprocess.STDOUT,
                                          **as_user)

            def command(verb):
                return subprocess.run(["xscreensaver-command", verb], env=env, capture_output=True,
                                      timeout=GUARD_SECONDS, **as_user).returncode == 0

            wait_until(lambda: command("-time"), "the daemon answering")
            check(command("-activate"), "xscreensaver-command -activate failed")
            pid = wait_until(lambda: (hack_processes(user) or [None])[0], "the daemon starting vesperglow")
            with open("/proc/%s/environ" % pid, "rb") as f:
                variables = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
            window = variables.get(b"XSCREENSAVER_WINDOW", b"").decode()
            check(window, "the daemon gave no XSCREENSAVER_WINDOW")
            shot = os.path.join(home, "blanked.png")
            wait_until(lambda: screenshot(server.env(), shot, window).count(is_firework_colour) >= 200,
                       "fireworks in the daemon's window %s" % window, step=0.5)
            check(command("-deactivate"), "xscreensaver-command -deactivate failed")
            wait_until(lambda: not hack_processes(user), "vesperglow ending on the daemon's SIGTERM")
            with open(log_path) as f:
                errors = [line for line in f if line.startswith("vesperglow:")]
            check(not errors, "the saver reported errors under the daemon: %s" % errors)
    finally:
        if daemon and daemon.poll() is None:
            daemon.terminate()
            daemon.wait(timeout=GUARD_SECONDS)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    run_case({"daemon-runs-root-mode": daemon_runs_the_saver_on_its_window},
             tools=("Xvfb", "xscreensaver", "xscreensaver-command", "import", "convert", "pgrep"))
