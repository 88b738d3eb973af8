"""Fixture set-up of one Wine test run: an Xvfb on a free display and a fresh 32-bit prefix."""
import os
import shutil
import signal
import subprocess

import winetest

STATE = winetest.STATE_DIR


def stop_previous_server():
    # A run that was killed may have left its own Xvfb: end it by the pid it recorded.
    pid_file = os.path.join(STATE, "xvfb.pid")
    if os.path.exists(pid_file):
        try:
            os.kill(int(open(pid_file).read()), signal.SIGTERM)
        except (OSError, ValueError):
            pass


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
         "%dx%dx24" % (winetest.SCREEN_WIDTH, winetest.SCREEN_HEIGHT), "-nolisten", "tcp"],
        pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=open(os.path.join(STATE, "xvfb.log"), "w"), start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    winetest.check(number.isdigit(), "Xvfb did not report a display")
    with open(os.path.join(STATE, "display"), "w") as f:
        f.write(number)
    with open(os.path.join(STATE, "xvfb.pid"), "w") as f:
        f.write(str(server.pid))
    winetest.log("Xvfb on :%s (pid %d)" % (number, server.pid))


def create_prefix():
    if os.path.exists(winetest.PREFIX):
        winetest.run(["wineserver", "-k"], check_status=False)
        shutil.rmtree(winetest.PREFIX)
    os.makedirs(winetest.PREFIX)
    # One wine server and one set of the prefix's own services for the whole run, started in a
    # session of their own so that they outlive this step; cleanup ends them. Programs then never
    # start while those services are starting (which takes the foreground from them).
    winetest.run(["wineserver", "-p"], own_session=True)
    winetest.run(["wineboot", "-i"], timeout=300, own_session=True)
    # A crash must end the program, not wait for someone to close the debugger's dialog.
    winetest.reg_add(r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", 0)
    winetest.log("prefix ready: " + winetest.PREFIX)


def main():
    os.makedirs(STATE, exist_ok=True)
    stop_previous_server()
    start_xvfb()
    create_prefix()


if __name__ == "__main__":
    try:
        main()
    except winetest.Failure as failure:
        print("FAIL: %s" % failure)
        raise SystemExit(1)
