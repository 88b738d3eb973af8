"""What the X11 tests share beyond e2e.py: the program with its settings, and the test window."""
import os

from e2e import Process, check

VESPERGLOW = os.environ.get("VG_VESPERGLOW", "")
TEST_WINDOW = os.environ.get("VG_TEST_WINDOW", "")
SETTINGS_GROUP = "Control Panel\\Screen Saver.Vesperglow"
# The opening show lasts six seconds; fireworks are launched after it.
OPENING_SECONDS = 6


def write_settings(values, config_home=None):
    """Writes the saver's key file under config_home (default: this test's XDG_CONFIG_HOME)."""
    folder = os.path.join(config_home or os.environ["XDG_CONFIG_HOME"], "vesperglow")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "vesperglow.conf"), "w") as f:
        f.write("[%s]\n" % SETTINGS_GROUP + "".join("%s=%d\n" % item for item in values.items()))


def saver(server, args, **extra_env):
    check(os.path.isfile(VESPERGLOW), "VG_VESPERGLOW does not name the program")
    return Process([VESPERGLOW] + args, server.env(**extra_env))


def test_window(server, width=400, height=300):
    """The in-tree window program, a grey window owned by another client, and the window's id.
    Its output gets a line for every input the window receives; xdotool windowkill ends it."""
    check(os.path.isfile(TEST_WINDOW), "VG_TEST_WINDOW does not name the window program")
    owner = Process([TEST_WINDOW, str(width), str(height)], server.env())
    return owner, owner.read_line()


def close_window(server, window):
    """What a window manager's close button does: WM_DELETE_WINDOW in a WM_PROTOCOLS message."""
    server.run([TEST_WINDOW, "--close", window])
