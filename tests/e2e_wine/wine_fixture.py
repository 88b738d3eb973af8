"""The fixture of one Wine test run. set-up: an Xvfb on a free display and a fresh prefix of the
build's architecture with one wine server; clean-up: ends both."""
import os
import shutil
import signal

import winetest
from e2e import XServer, log, run_case


def stop_recorded_server():
    """Ends the Xvfb whose pid a set-up recorded: this run's at clean-up, a killed run's at set-up."""
    pid_file = os.path.join(winetest.STATE_DIR, "xvfb.pid")
    if os.path.exists(pid_file):
        try:
            with open(pid_file) as f:
                os.kill(int(f.read()), signal.SIGTERM)
        except (OSError, ValueError):
            pass
        os.remove(pid_file)


def set_up():
    os.makedirs(winetest.STATE_DIR, exist_ok=True)
    stop_recorded_server()
    server = XServer(workdir=winetest.STATE_DIR, detached=True)
    with open(os.path.join(winetest.STATE_DIR, "display"), "w") as f:
        f.write(server.display)
    with open(os.path.join(winetest.STATE_DIR, "xvfb.pid"), "w") as f:
        f.write(str(server.process.pid))
    if os.path.exists(winetest.PREFIX):
        winetest.unix("wineserver", "-k", check_status=False)
        shutil.rmtree(winetest.PREFIX)
    os.makedirs(winetest.PREFIX)
    # One wine server and one set of the prefix's own services for the whole run, in a session of
    # their own so that they outlive this step. Programs then never start while those services are
    # starting (which takes the foreground from them).
    winetest.unix("wineserver", "-p", own_session=True)
    winetest.wine("wineboot", "-i", timeout=300, own_session=True)
    # A crash must end the program, not wait for someone to close the debugger's dialog.
    winetest.reg_add(r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", 0)
    log("prefix ready: " + winetest.PREFIX)


def clean_up():
    winetest.unix("wineserver", "-k", check_status=False)
    stop_recorded_server()


if __name__ == "__main__":
    winetest.skip_unless_runnable()
    run_case(globals(), tools=("Xvfb", winetest.LOADER, "wineserver"))
