#!/usr/bin/env python3
"""CPU and memory of a 30-second -root show, Vesperglow beside xscreensaver's fireworkx and
superquadrics (each when installed), one after another on one Xvfb, so the ratios come from one run.

Also: Vesperglow's CPU while its window is unmapped, and the time from exec to its first frame.

    bench/side_by_side.py [--seconds 30] [--size 1024x768] [--vesperglow build/linux/host/x11/vesperglow]

CPU seconds are the program's own user + system time (llvmpipe's threads included), read from
wait4 once SIGTERM has ended it; peak RSS likewise. The X server's CPU over the same run is shown
beside it, since every frame also costs the server a PutImage."""
import argparse
import os
import signal
import subprocess
import sys
import time

HACKS = "/usr/libexec/xscreensaver"


def start_xvfb(size):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-screen", "0", size + "x24", "-displayfd", str(write_end), "-nolisten",
                               "tcp", "-noreset"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = ":" + numbers.readline().strip()
    if display == ":":
        sys.exit("Xvfb did not start")
    return server, display


def process_cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def root_has_pixels(env):
    """Whether anything but black is on the root window: the show's first frame has its sky."""
    out = subprocess.run(["import", "-window", "root", "-resize", "64x48", "-depth", "8", "gray:-"], env=env,
                         capture_output=True).stdout
    return any(out)


def measure(command, env, seconds, server_pid, watch_first_frame=False, unmap_after=None):
    """Runs command for seconds; returns (cpu seconds, peak RSS in MB, server cpu seconds, first frame s)."""
    server_before = process_cpu_seconds(server_pid)
    started = time.monotonic()
    program = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    first_frame = None
    while watch_first_frame and first_frame is None and time.monotonic() - started < seconds:
        if root_has_pixels(env):
            first_frame = time.monotonic() - started
    cpu_at_unmap = 0.0
    if unmap_after is not None:
        time.sleep(unmap_after)
        windows = subprocess.run(["xdotool", "search", "--name", "^Vesperglow$"], env=env, capture_output=True,
                                 text=True).stdout.split()
        for window in windows:
            subprocess.run(["xdotool", "windowunmap", window], env=env)
        cpu_at_unmap = process_cpu_seconds(program.pid)
    time.sleep(max(0.0, seconds - (time.monotonic() - started)))
    cpu_before_end = process_cpu_seconds(program.pid)
    program.send_signal(signal.SIGTERM)
    _, _, usage = os.wait4(program.pid, 0)
    cpu = usage.ru_utime + usage.ru_stime
    if unmap_after is not None:
        cpu = cpu_before_end - cpu_at_unmap
    return cpu, usage.ru_maxrss / 1024, process_cpu_seconds(server_pid) - server_before, first_frame


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--size", default="1024x768")
    parser.add_argument("--vesperglow", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                                             "build", "linux", "host", "x11", "vesperglow"))
    args = parser.parse_args()
    server, display = start_xvfb(args.size)
    home = os.path.join("/tmp", "vg-side-by-side-home")
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
    env.pop("XSCREENSAVER_WINDOW", None)
    programs = [("vesperglow", [args.vesperglow, "-root"])]
    programs += [(name, [os.path.join(HACKS, name), "-root"]) for name in ("fireworkx", "superquadrics")
                 if os.access(os.path.join(HACKS, name), os.X_OK)]
    try:
        print("%-14s %14s %12s %14s" % ("program", "CPU s / %gs" % args.seconds, "peak RSS MB", "Xvfb CPU s"))
        results = {}
        for name, command in programs:
            cpu, rss, server_cpu, first = measure(command, env, args.seconds, server.pid,
                                                  watch_first_frame=name == "vesperglow")
            results[name] = cpu
            print("%-14s %14.2f %12.1f %14.2f" % (name, cpu, rss, server_cpu), flush=True)
            if first is not None:
                print("  vesperglow: first frame on the screen %.2f s after exec" % first)
        if "fireworkx" in results:
            print("vesperglow / fireworkx CPU: %.2f" % (results["vesperglow"] / results["fireworkx"]))
        unmapped, _, server_cpu, _ = measure([args.vesperglow, "-window"], env, 5 + args.seconds / 3, server.pid,
                                             unmap_after=5)
        print("vesperglow -window, unmapped: %.2f CPU s over %g s (Xvfb %.2f)" % (unmapped, args.seconds / 3,
                                                                                 server_cpu))
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
