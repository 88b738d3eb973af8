"""Fixture clean-up of a Wine test run: ends the run's wine server and its Xvfb."""
import os
import signal

import winetest

winetest.run(["wineserver", "-k"], check_status=False)
pid_file = os.path.join(winetest.STATE_DIR, "xvfb.pid")
if os.path.exists(pid_file):
    try:
        os.kill(int(open(pid_file).read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    os.remove(pid_file)
