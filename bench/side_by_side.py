#!/usr/bin/env python3
"""CPU and memory of a 30-second -root show, Vesperglow beside xscreensaver's fireworkx and
superquadrics (each when installed) and the x64 vesperglow.scr /s under Wine (when Wine and the
windows-x64 build are there), one after another on one Xvfb, so the ratios come from one run.

Also: Vesperglow's CPU while its window is unmapped, and the time from exec to its first frame
(the first glXSwapBuffers, timestamped by bench/first_swap_shim.cpp preloaded).

    bench/side_by_side.py [--seconds 30] [--size 1024x768] [--vesperglow build/linux/host/x11/vesperglow]

CPU seconds are the program's own user + system time (llvmpipe's threads included), read from
wait4 once SIGTERM has ended it; peak RSS likewise. The X server's CPU over the same run is shown
beside it, since every frame also costs the server a PutImage; for the Windows saver, wineserver's
as well. The hacks come with xscreensaver-data-extra (fireworkx) and xscreensaver-gl
(superquadrics); Wine with wine64."""
import argparse
import os
import signal
import subprocess
import sys
import time

HACKS = "/usr/libexec/xscreensaver"
BUILD = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build")
WINE_LOADER = "/usr/lib/wine/wine64"


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


def first_frame_seconds(path, exec_nanos):
    try:
        with open(path) as f:
            return (int(f.read()) - exec_nanos) / 1e9
    except (OSError, ValueError):
        return None


def measure(command, env, seconds, server_pid, first_swap_shim=None, unmap_after=None):
    """Runs command for seconds; returns (cpu seconds, peak RSS in MB, server cpu seconds, first frame s)."""
    server_before = process_cpu_seconds(server_pid)
    swap_file = "/tmp/vg-side-by-side-first-swap"
    if first_swap_shim:
        env = dict(env, LD_PRELOAD=first_swap_shim, VG_FIRST_SWAP_FILE=swap_file)
        if os.path.exists(swap_file):
            os.remove(swap_file)
    started = time.monotonic()
    exec_nanos = time.monotonic_ns()
    program = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    cpu_at_unmap = 0.0
    if unmap_after is not None:
        time.sleep(unmap_after)
        windows = subprocess.run(["xdotool", "search", "--name", "^Vesperglow$"], env=env, capture_output=True,
                                 text=True).stdout.split()
        for window in windows:
            subprocess.run(["xdotool", "windowunmap", window], env=env)
        cpu_at_unmap = process_cpu_seconds(program.pid)
    time.sleep(max(0.0, seconds - (time.monotonic() - started)))
    if program.poll() is not None:
        sys.exit("%s ended by itself before the %g s were over" % (command[0], seconds))
    cpu_before_end = process_cpu_seconds(program.pid)
    program.send_signal(signal.SIGTERM)
    for _ in range(50):
        pid, _, usage = os.wait4(program.pid, os.WNOHANG)
        if pid:
            break
        time.sleep(0.1)
    else:
        program.kill()
        _, _, usage = os.wait4(program.pid, 0)
    cpu = usage.ru_utime + usage.ru_stime
    if unmap_after is not None:
        cpu = cpu_before_end - cpu_at_unmap
    first_frame = first_frame_seconds(swap_file, exec_nanos) if first_swap_shim else None
    return cpu, usage.ru_maxrss / 1024, process_cpu_seconds(server_pid) - server_before, first_frame


def wine_environment(env):
    prefix = "/tmp/vg-side-by-side-wine"
    subprocess.run(["rm", "-rf", prefix], check=True)
    os.makedirs(prefix)
    return dict(env, WINEPREFIX=prefix, WINEARCH="win64", WINELOADER=WINE_LOADER, WINEDEBUG="-all",
                WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=")


def prefix_wineserver(prefix):
    """The pid of this prefix's wineserver: other users of the machine may run their own."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/comm" % pid) as f:
                if not f.read().startswith("wineserver"):
                    continue
            with open("/proc/%s/environ" % pid, "rb") as f:
                if ("WINEPREFIX=" + prefix).encode() in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            pass
    sys.exit("no wineserver for " + prefix)


def measure_wine(scr, env, seconds, server_pid):
    """The .scr /s in a fresh prefix; returns (saver's cpu s, peak RSS MB, server cpu s, wineserver cpu s)."""
    env = wine_environment(env)
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-p"], env=env, check=True, **quiet)
    try:
        subprocess.run([WINE_LOADER, "wineboot", "-i"], env=env, timeout=300, **quiet)
        wineserver = prefix_wineserver(env["WINEPREFIX"])
        time.sleep(3)  # the prefix's services settle
        before = process_cpu_seconds(wineserver)
        cpu, rss, server_cpu, _ = measure([WINE_LOADER, scr, "/s"], env, seconds, server_pid)
        return cpu, rss, server_cpu, process_cpu_seconds(wineserver) - before
    finally:
        subprocess.run(["wineserver", "-k"], env=env, **quiet)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--size", default="1024x768")
    parser.add_argument("--vesperglow", default=os.path.join(BUILD, "linux", "host", "x11", "vesperglow"))
    parser.add_argument("--shim", default=os.path.join(BUILD, "linux", "bench", "libvesperglow-first-swap.so"))
    parser.add_argument("--scr", default=os.path.join(BUILD, "windows-x64", "vesperglow.scr"))
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
            shim = args.shim if name == "vesperglow" and os.path.exists(args.shim) else None
            cpu, rss, server_cpu, first = measure(command, env, args.seconds, server.pid, first_swap_shim=shim)
            results[name] = cpu
            print("%-14s %14.2f %12.1f %14.2f" % (name, cpu, rss, server_cpu), flush=True)
            if first is not None:
                print("  vesperglow: first frame swapped %.3f s after exec" % first)
        if os.access(WINE_LOADER, os.X_OK) and os.path.exists(args.scr):
            cpu, rss, server_cpu, wineserver_cpu = measure_wine(args.scr, env, args.seconds, server.pid)
            results["vesperglow.scr"] = cpu
            print("%-14s %14.2f %12.1f %14.2f   wineserver CPU s %.2f" % ("vesperglow.scr", cpu, rss, server_cpu,
                                                                         wineserver_cpu), flush=True)
        if "fireworkx" in results:
            print("vesperglow / fireworkx CPU: %.2f" % (results["vesperglow"] / results["fireworkx"]))
        if "superquadrics" in results:
            print("vesperglow / superquadrics CPU: %.2f" % (results["vesperglow"] / results["superquadrics"]))
        if "vesperglow.scr" in results:
            print("vesperglow.scr under Wine / vesperglow CPU: %.2f" % (results["vesperglow.scr"] /
                                                                        results["vesperglow"]))
        unmapped, _, server_cpu, _ = measure([args.vesperglow, "-window"], env, 5 + args.seconds / 3, server.pid,
                                             unmap_after=5)
        print("vesperglow -window, unmapped: %.2f CPU s over %g s (Xvfb %.2f)" % (unmapped, args.seconds / 3,
                                                                                 server_cpu))
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
