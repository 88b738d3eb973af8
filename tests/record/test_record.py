"""vesperglow-record as a user runs it: 2 s at 320x240 in each format, probed, repeated byte for
byte, and compared with the snapshot program's picture of the same moment."""
import os
import signal
import subprocess
import time

from e2e import Process, check, log, run, run_case, scratch_dir, wait_until

RECORD = os.environ["VG_RECORD"]
SNAPSHOT = os.environ["VG_SNAPSHOT"]
# The main show with the default settings, seconds past the opening's end.
SHOW = ["--seed", "5", "--size", "320x240", "--fps", "30"]
START = 20
FRAMES = 60
SAMPLED = (0, 15, 30, 45, 59)


def probe(path):
    """ffprobe's codec, size and decoded frame count of the first stream. FFmpeg 5.1 cannot decode
    animated WebP: ImageMagick counts its frames and reads its canvas."""
    out = run(["ffprobe", "-v", "error", "-count_frames", "-show_entries",
               "stream=codec_name,width,height,nb_read_frames", "-of", "csv=p=0", path])[1]
    codec, width, height, frames = out.strip().split(",")
    if codec == "webp":
        frames = len(run(["identify", path])[1].splitlines())
        width, height = run(["identify", "-format", "%W %H\n", path])[1].split()[:2]
    return codec, (int(width), int(height)), int(frames)


def decoded_frames(video, folder):
    """The frames of the video as RGB PNGs, by number."""
    pattern = os.path.join(folder, os.path.basename(video) + "-%d.png")
    if video.endswith(".webp"):
        run(["convert", video, "-coalesce", pattern])
    else:
        run(["ffmpeg", "-v", "error", "-i", video, "-pix_fmt", "rgb24", "-start_number", "0", pattern])
    return pattern


def compare(metric, first, second):
    result = subprocess.run(["compare", "-metric", metric, first, second, "null:"], capture_output=True, text=True)
    return float(result.stderr.split()[0])


def each_format_is_exact_and_repeatable():
    folder = scratch_dir()
    snapshots = {}
    for index in SAMPLED:
        snapshots[index] = os.path.join(folder, "snapshot-%d.png" % index)
        run([SNAPSHOT] + SHOW + ["--at", str((START * 30 + index) / 30), "--output", snapshots[index]])
    for name, quality in (("video.mp4", []), ("video.webm", []), ("lossy.webp", []),
                          ("lossless.webp", ["--lossless"])):
        outputs = [os.path.join(folder, prefix + name) for prefix in ("", "again-")]
        for output in outputs:
            run([RECORD] + SHOW + quality + ["--start", str(START), "--seconds", "2", "--output", output])
        with open(outputs[0], "rb") as first, open(outputs[1], "rb") as second:
            check(first.read() == second.read(), name + ": two runs differ")
        codec, size, frames = probe(outputs[0])
        expected = {"mp4": "h264", "webm": "vp9", "webp": "webp"}[name.rpartition(".")[2]]
        check((codec, size, frames) == (expected, (320, 240), FRAMES),
              "%s: %s %s %d frames" % (name, codec, size, frames))
        decoded = decoded_frames(outputs[0], folder)
        psnr = [compare("AE" if quality else "PSNR", snapshots[index], decoded % index) for index in SAMPLED]
        log("%s: %d bytes, %s" % (name, os.path.getsize(outputs[0]), psnr))
        if quality:
            check(psnr == [0] * len(SAMPLED), name + ": pixels differ from the snapshots: %s" % psnr)
        else:
            # 4:2:0 colour alone caps a dense frame this small near 35 dB: the mean holds the target.
            check(min(psnr) >= 33 and sum(psnr) / len(psnr) >= 35, "%s: PSNR %s" % (name, psnr))
    # Without --seed the seed is printed, and it gives the same file.
    status, out = run([RECORD, "--frames", "3", "--size", "64x64", "--output", os.path.join(folder, "a.webp")])
    seed = out.split()[1]
    run([RECORD, "--frames", "3", "--size", "64x64", "--seed", seed, "--output", os.path.join(folder, "b.webp")])
    with open(os.path.join(folder, "a.webp"), "rb") as first, open(os.path.join(folder, "b.webp"), "rb") as second:
        check(out.startswith("seed ") and first.read() == second.read(), "the printed seed %s repeats nothing" % seed)


def bad_input_and_signals_leave_no_file():
    folder = scratch_dir()
    blocker = os.path.join(folder, "file")
    open(blocker, "w").close()
    for arguments in (["--output", os.path.join(folder, "show.avi")],
                      ["--output", os.path.join(blocker, "show.mp4")],
                      ["--output", os.path.join(folder, "missing", "show.webm")],
                      ["--fps", "61", "--output", os.path.join(folder, "show.mp4")],
                      ["--size", "321x240", "--output", os.path.join(folder, "show.mp4")],
                      ["--crf", "10", "--output", os.path.join(folder, "show.webp")],
                      ["--waver", "11", "--output", os.path.join(folder, "show.webp")]):
        result = subprocess.run([RECORD] + arguments, capture_output=True, text=True, timeout=60)
        check(result.returncode == 1 and result.stderr.count("\n") == 1 and result.stdout == "",
              "%s: exit %d, %r" % (arguments, result.returncode, result.stderr))
        check(os.listdir(folder) == ["file"], "%s left %s" % (arguments, os.listdir(folder)))
    # Stopped halfway, the old target stays as it was and nothing else is left.
    target = os.path.join(folder, "show.mp4")
    for stop in (signal.SIGTERM, signal.SIGINT):
        with open(target, "w") as old:
            old.write("old")
        recorder = Process([RECORD, "--seed", "1", "--seconds", "60", "--output", target], None)
        wait_until(lambda: len(os.listdir(folder)) == 3, "the temporary file")
        time.sleep(1)
        recorder.signal(stop)
        status = recorder.wait(60)
        with open(target) as kept:
            check(status == -stop and kept.read() == "old", "%s: exit %d, target changed" % (stop.name, status))
        check(sorted(os.listdir(folder)) == ["file", "show.mp4"], "%s left %s" % (stop.name, os.listdir(folder)))


if __name__ == "__main__":
    run_case(globals(), tools=("ffprobe", "ffmpeg", "convert", "compare", "identify"))
