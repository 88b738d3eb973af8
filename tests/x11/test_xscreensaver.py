"""The xscreensaver daemon runs the program as one of its hacks: -root in the window it names in
XSCREENSAVER_WINDOW, ended with SIGTERM when the screen unblanks."""
import os
import shutil

from e2e import XServer, check, run_case
from xscreensaver_user import XscreensaverUser
from xtest import VESPERGLOW, write_settings


def daemon_runs_the_saver_on_its_window():
    with XServer() as server, XscreensaverUser("vesperglow-xss", server) as user:
        program = os.path.join(user.home, "vesperglow")
        shutil.copy(VESPERGLOW, program)
        with open(os.path.join(user.home, ".xscreensaver"), "w") as f:
            f.write("mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\nunfade: False\n")
            f.write("programs: GL: %s --root \\n\n" % program)
        # Daemons pass no XDG variables: the settings must be found through HOME.
        write_settings({"Frequency": 60}, os.path.join(user.home, ".config"))
        user.start_daemon()
        check(user.command("-activate"), "xscreensaver-command -activate failed")
        user.hack_runs_and_stops("vesperglow --root")
        check(not user.saver_errors(), "the saver reported errors under the daemon: %s" % user.saver_errors())


if __name__ == "__main__":
    run_case({"daemon-runs-root-mode": daemon_runs_the_saver_on_its_window},
             tools=("Xvfb", "xscreensaver", "xscreensaver-command", "import", "convert", "pgrep"))
