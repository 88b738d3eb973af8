"""The xscreensaver daemon runs the program as one of its hacks: -root in the window it names in
XSCREENSAVER_WINDOW, ended with SIGTERM when the screen unblanks. The daemon launches nothing as
root, so it runs as an ordinary user here."""
import os
import pwd
import shutil
import subprocess
import tempfile

from xtest import (GUARD_SECONDS, SETTINGS_GROUP, VESPERGLOW, XServer, check, is_firework_colour, log, run_case,
                   wait_until)

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
    listing = subprocess.run(["ps", "-o", "pid=,args=", "-u", user], capture_output=True, text=True,
                             timeout=GUARD_SECONDS).stdout
    return [line.split(None, 1) for line in listing.splitlines() if "vesperglow --root" in line]


def daemon_runs_the_saver_on_its_window():
    user = daemon_user()
    entry = pwd.getpwnam(user)
    # The daemon's home: outside the test's own HOME, which only root may enter.
    home = tempfile.mkdtemp(prefix="vg-xss-")
    os.chmod(home, 0o755)
    program = os.path.join(home, "vesperglow")
    shutil.copy(VESPERGLOW, program)
    with open(os.path.join(home, ".xscreensaver"), "w") as f:
        f.write("mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\nunfade: False\n")
        f.write("programs: GL: %s --root \\n\n" % program)
    # Daemons pass no XDG variables: the settings must be found through HOME.
    settings = os.path.join(home, ".config", "vesperglow")
    os.makedirs(settings)
    with open(os.path.join(settings, "vesperglow.conf"), "w") as f:
        f.write("[%s]\nFrequency=60\n" % SETTINGS_GROUP)
    if os.geteuid() == 0:
        for folder, _, files in os.walk(home):
            for path in [folder] + [os.path.join(folder, name) for name in files]:
                os.chown(path, entry.pw_uid, entry.pw_gid)
    daemon = None
    try:
        with XServer() as server:
            env = {"HOME": home, "DISPLAY": server.display, "PATH": os.environ.get("PATH", "/usr/bin:/bin")}
            as_user = {"user": user} if os.geteuid() == 0 else {}
            log_path = os.path.join(home, "daemon.log")
            with open(log_path, "w") as daemon_log:
                daemon = subprocess.Popen(["xscreensaver", "-no-splash", "-verbose"], env=env, cwd=home,
                                          stdin=subprocess.DEVNULL, stdout=daemon_log, stderr=subprocess.STDOUT,
                                          **as_user)

            def command(verb):
                return subprocess.run(["xscreensaver-command", verb], env=env, capture_output=True, text=True,
                                      timeout=GUARD_SECONDS, **as_user)

            wait_until(lambda: command("-time").returncode == 0, "the daemon answering")
            check(command("-activate").returncode == 0, "xscreensaver-command -activate failed")
            pid, args = wait_until(lambda: (hack_processes(user) or [None])[0], "the daemon starting vesperglow")
            log("the daemon runs %s as %s" % (args, user))
            with open("/proc/%s/environ" % pid, "rb") as f:
                variables = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
            window = variables.get(b"XSCREENSAVER_WINDOW", b"").decode()
            check(window, "the daemon gave no XSCREENSAVER_WINDOW")
            def show_seen():
                image = server.screenshot(os.path.join(home, "blanked.png"), window)
                fireworks = image.count(is_firework_colour)
                return fireworks >= 200 and (image, fireworks)
            image, fireworks = wait_until(show_seen, "fireworks in the daemon's window", step=0.5)
            log("XSCREENSAVER_WINDOW %s, %dx%d, %d firework pixels" % (window, image.width, image.height, fireworks))
            check(command("-deactivate").returncode == 0, "xscreensaver-command -deactivate failed")
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
             tools=("Xvfb", "xscreensaver", "xscreensaver-command", "import", "convert", "identify", "ps"))
