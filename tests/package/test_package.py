"""The saver as installed: the controls of xscreensaver's settings panel, and the Debian package for
real (its files, lintian, dpkg -i over an older package, the xscreensaver daemon as an ordinary user,
dpkg --purge)."""
import glob
import os
import signal
import subprocess
import xml.etree.ElementTree as ElementTree

from e2e import GUARD_SECONDS, SAVER_DEFAULTS, XServer, check, log, run, run_case, scratch_dir, wait_until
from test_modes import frame_rate_pixels
from xscreensaver_user import XscreensaverUser
from xtest import VESPERGLOW, saver, write_settings

BUILD = os.environ.get("VG_BUILD_DIR", "")
PANEL_XML = os.environ.get("VG_PANEL_XML", "")
SYSTEM_LIST = "/etc/X11/app-defaults/XScreenSaver"
INSTALLED = sorted([
    "bin/vesperglow", "lib/x86_64-linux-gnu/vesperglow/vesperglow-settings-form.so",
    "libexec/vesperglow/vesperglow-wayland", "libexec/xscreensaver/vesperglow", "share/applications/vesperglow.desktop",
    "share/doc/vesperglow/changelog.gz", "share/doc/vesperglow/copyright",
    "share/icons/hicolor/16x16/apps/vesperglow.png", "share/icons/hicolor/32x32/apps/vesperglow.png",
    "share/man/man6/vesperglow.6.gz", "share/xscreensaver/config/vesperglow.xml"])
# The setting behind each option the panel passes; the frame rate is no setting.
PANEL_SETTINGS = {
    "--frequency": "Frequency", "--stars": "Stars", "--spherical": "Spherical Weight", "--blast": "Blast Weight",
    "--weeping-willow": "Weeping Willow Weight", "--sparkling": "Sparkling Weight",
    "--chain-reaction": "Chain Reaction Weight", "--cork-screw": "Cork Screw Weight", "--waver": "Waver Weight",
    "--no-twilight": "Twilight Sky", "--no-display-title": "Display Vesperglow", "--fps": None}


def panel_controls():
    """{option: (low, high, default)} for the sliders, {option: (None, None, default)} for the check
    boxes: arg-unset means on by default, the option turning it off."""
    root = ElementTree.parse(PANEL_XML).getroot()
    check((root.tag, root.get("name"), root.get("_label")) == ("screensaver", "vesperglow", "Vesperglow"),
          "not Vesperglow's screensaver element")
    check(root.find("command").get("arg") == "--root", "the panel does not run --root")
    check("vesperglow --config" in root.find("_description").text, "the description does not name vesperglow --config")
    controls = {n.get("arg").replace(" %", ""): tuple(int(n.get(k)) for k in ("low", "high", "default"))
                for n in root.iter("number")}
    controls.update({b.get("arg-set") or b.get("arg-unset"): (None, None, int(b.get("arg-unset") is not None))
                     for b in root.iter("boolean")})
    return controls


def panel_options_run_and_leave_the_settings_file():
    controls = panel_controls()
    check(sorted(controls) == sorted(PANEL_SETTINGS), "the panel's options: %s" % sorted(controls))
    for option, (_, _, default) in controls.items():
        check(default == SAVER_DEFAULTS.get(PANEL_SETTINGS[option], 0), "the panel's default for " + option)
    sliders = {option: ends for option, ends in controls.items() if ends[0] is not None}
    # One step beyond either end is refused, so the panel's ranges are the program's.
    for option, (low, high, _) in sliders.items():
        for value in [high + 1] + ([low - 1] if low > 0 else []):
            status, _ = run([VESPERGLOW, option, str(value)], check_status=False)
            check(status == 1, "%s %d was taken" % (option, value))
    stored = dict(SAVER_DEFAULTS, **{name: 3 for name in SAVER_DEFAULTS if name.endswith("Weight")})
    stored.update({"Frequency": 45, "Stars": 2})
    write_settings(stored)
    path = os.path.join(os.environ["XDG_CONFIG_HOME"], "vesperglow", "vesperglow.conf")
    with open(path) as f:
        before = f.read()
    # Every slider at one end; the check boxes' options go with the low ends (twilight off, --fps on).
    low = [word for option, ends in sliders.items() for word in (option, str(ends[0]))]
    high = [word for option, ends in sliders.items() for word in (option, str(ends[1]))]
    with XServer(width=800, height=600) as server:
        half = 800 * 600 // 2

        def twilight():
            return server.screenshot("sky").count(lambda r, g, b: b > g + 8 and r > g and max(r, g, b) <= 80)
        for options in [low + sorted(set(controls) - set(sliders)), high]:
            program = saver(server, ["--root"] + options)
            if "--no-twilight" in options:
                wait_until(lambda: frame_rate_pixels(server, "root") >= 100, "the frame rate of --fps")
                check(twilight() < half, "a twilight with --no-twilight")
            else:
                wait_until(lambda: twilight() > half, "the twilight of the settings file")
            program.signal(signal.SIGTERM)
            program.expect_exit(0)
            check(not program.stderr(), "the saver complained: " + program.stderr())
            with open(path) as f:
                check(f.read() == before, "the settings file changed with " + " ".join(options))


def package_status():
    """dpkg's status of vesperglow; empty when dpkg knows no such package."""
    return subprocess.run(["dpkg-query", "-W", "-f", "${Status}", "vesperglow"], capture_output=True, text=True,
                          timeout=GUARD_SECONDS).stdout.replace("unknown ok not-installed", "")


def dpkg(*args):
    """dpkg, waiting while another package tool holds its lock."""
    def attempt():
        done = subprocess.run(["dpkg"] + list(args), capture_output=True, text=True, timeout=GUARD_SECONDS)
        check(done.returncode == 0 or "lock" in done.stderr, "dpkg %s: %s" % (" ".join(args), done.stderr))
        return done.returncode == 0
    wait_until(attempt, "dpkg's lock", timeout=GUARD_SECONDS * 5, step=2)


def listed_savers(path, key):
    """The entries of a programs list, each with its blanks made single spaces."""
    with open(path) as f:
        lines = f.read().replace("\\\n", "").splitlines()
    value = next(line for line in lines if line.startswith(key + ":")).split(":", 1)[1]
    return [" ".join(entry.split()) for entry in value.split("\\n") if entry.strip()]


def deb_installs_runs_under_the_daemon_and_purges():
    check(os.geteuid() == 0, "installing the package needs root")
    check(not package_status(), "a vesperglow package is on this machine (%s); this test installs and purges its "
          "own: remove it first with dpkg --purge vesperglow" % package_status())
    folder = scratch_dir()
    cpack = [os.environ["VG_CPACK"], "--config", os.path.join(BUILD, "CPackConfig.cmake")]
    run(cpack + ["-B", folder + "/older", "-D", "CPACK_PACKAGE_VERSION=0~older"])
    run(cpack + ["-B", folder])
    older, package = glob.glob(folder + "/older/*.deb") + glob.glob(folder + "/*.deb")
    status, report = run(["lintian", "--fail-on", "error,warning", package], check_status=False)
    log("lintian: " + (report.strip() or "no tags"))
    check(status == 0, "lintian found errors or warnings")
    listing = run(["dpkg-deb", "-c", package])[1].splitlines()
    files = [line.split(None, 5)[5].split(" -> ")[0][1:] for line in listing if not line.startswith("d")]
    check(sorted(files) == ["/usr/" + name for name in INSTALLED], "the package holds %s" % files)
    check(any(line.endswith("/usr/libexec/xscreensaver/vesperglow -> ../../bin/vesperglow") for line in listing),
          "the hack's link")
    check(not [f for f in files if os.path.lexists(f)], "files of the package exist already")
    try:
        dpkg("-i", older)
        dpkg("-i", package)
        version = run(["dpkg-query", "-W", "-f", "${Version}", "vesperglow"])[1]
        check(version == run(["dpkg-deb", "-f", package, "Version"])[1].strip(), "upgraded to " + version)
        run(["desktop-file-validate", "/usr/share/applications/vesperglow.desktop"])
        with XServer() as server, XscreensaverUser("vesperglow-pkg", server) as user:
            # The user's daemon runs the system's list, then picks up the one the command writes.
            user.start_daemon()
            added = user.run(["vesperglow", "--add-to-xscreensaver"])
            check(added.returncode == 0, "--add-to-xscreensaver: " + added.stderr)
            entries = listed_savers(os.path.join(user.home, ".xscreensaver"), "programs")
            check(entries == listed_savers(SYSTEM_LIST, "*programs") + ["GL: vesperglow --root"],
                  "the new list is not the system's and ours")
            stock = next(i for i, entry in enumerate(entries) if not entry.startswith("-") and
                         os.path.exists("/usr/libexec/xscreensaver/" + entry.split()[0]))
            # -select counts from 1; ours comes last.
            check(user.command("-select", str(len(entries))), "xscreensaver-command -select failed")
            check(user.hack_runs_and_stops("vesperglow --root") == "/usr/bin/vesperglow", "not the installed program")
            check(user.command("-select", str(stock + 1)), "xscreensaver-command -select failed")
            user.hack_runs_and_stops(entries[stock], draws_fireworks=False)
            log("the daemon ran vesperglow, entry %d of %d, and %r, entry %d" % (len(entries), len(entries),
                                                                               entries[stock], stock + 1))
            check(not user.saver_errors(), "the saver reported errors under the daemon: %s" % user.saver_errors())
    finally:
        if package_status():
            dpkg("--purge", "vesperglow")
    check(not [f for f in files if os.path.lexists(f)], "files left after the purge")


if __name__ == "__main__":
    run_case(globals(), tools=("Xvfb", "xscreensaver", "xscreensaver-command", "import", "convert", "pgrep", "lintian",
                    "dpkg-deb", "desktop-file-validate"))
