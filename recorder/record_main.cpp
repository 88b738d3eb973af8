// vesperglow-record: records the show to a video, frame by frame on the stepped clock the
// snapshot program runs, so a command gives the same file on every run, at any speed, with no
// frame dropped. It never reads the settings file: the defaults and the options make the show.
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "host/headless/offscreen_show.h"
#include "recorder/video_encoder.h"

static const char USAGE[] =
    "usage: vesperglow-record --output FILE [--seconds S | --frames N] [--start S] [--seed N]\n"
    "                         [--size WxH] [--fps N] [--crf N | --quality N | --lossless]\n"
    "                         [--hold F1|F2]... [setting options]\n"
    "  Records the show offscreen (Mesa EGL) to FILE, replaced only once the new one is complete:\n"
    "  .mp4 (H.264), .webm (VP9) or .webp (animated WebP). The settings are the defaults with the\n"
    "  setting options over them; the settings file is never read.\n"
    "  --output FILE   the video to write\n"
    "  --seconds S     how long a recording (default 10), or --frames N frames\n"
    "  --start S       begin S seconds into the show, opening included (default 0)\n"
    "  --crf N         .mp4: x264's constant rate factor, 0 to 51 (default 18);\n"
    "                  .webm: VP9's, 0 to 63 (default 30); lower is better and larger\n"
    "  --quality N     .webp: 0 to 100 (default 75); higher is better and larger\n"
    "  --lossless      .webp: every pixel exactly as drawn\n"
    "Defaults: --size 1280x720 --fps 30; the seed is the calendar time, printed.\n";

struct RecordOptions {
    std::string output;
    double seconds = 10;
    long frames = -1;  // below 0: from seconds
    double start = 0;
    EncoderSettings encoder;
    OffscreenShowOptions show;
};

static void Fail(const std::string& problem) {
    std::fprintf(stderr, "vesperglow-record: %s\n", problem.c_str());
    std::exit(1);
}

enum RecordOption { OPTION_OUTPUT = OFFSCREEN_OWN_OPTION_CODES, OPTION_SECONDS, OPTION_FRAMES, OPTION_START,
                    OPTION_CRF, OPTION_QUALITY, OPTION_LOSSLESS };

static const std::vector<option> RECORD_OPTIONS = {
    {"output", required_argument, nullptr, OPTION_OUTPUT}, {"seconds", required_argument, nullptr, OPTION_SECONDS},
    {"frames", required_argument, nullptr, OPTION_FRAMES}, {"start", required_argument, nullptr, OPTION_START},
    {"crf", required_argument, nullptr, OPTION_CRF},       {"quality", required_argument, nullptr, OPTION_QUALITY},
    {"lossless", no_argument, nullptr, OPTION_LOSSLESS},
};

static bool TakeSeconds(const char* value, double* seconds) {
    char extra = 0;
    return std::sscanf(value, "%lf%c", seconds, &extra) == 1 && *seconds >= 0 && *seconds <= 3600;
}

static bool TakeNumber(const char* value, uint32_t maximum, int* number) {
    uint32_t parsed = 0;
    if (!ParseUnsigned32(value, &parsed) || parsed > maximum) return false;
    *number = int(parsed);
    return true;
}

// Each quality option belongs to the formats it names.
static void CheckFormatOptions(const RecordOptions& options, RecordFormat format) {
    const EncoderSettings& encoder = options.encoder;
    if (format == RECORD_UNKNOWN) Fail("cannot tell the format of \"" + options.output + "\": name it .mp4, .webm or .webp");
    if (format == RECORD_WEBP && encoder.crf >= 0) Fail("--crf is for .mp4 and .webm; .webp takes --quality or --lossless");
    if (format != RECORD_WEBP && (encoder.quality >= 0 || encoder.lossless))
        Fail("--quality and --lossless are for .webp; .mp4 and .webm take --crf");
    if (format == RECORD_MP4 && encoder.crf > 51) Fail("bad value for --crf: .mp4 takes 0 to 51");
    // 4:2:0 video halves the colour's resolution in both directions.
    if (format != RECORD_WEBP && (options.show.width % 2 || options.show.height % 2))
        Fail("--size must be even in both directions for .mp4 and .webm");
}

static RecordOptions ParseOptions(int argc, char** argv) {
    RecordOptions options;
    options.show.width = 1280;
    options.show.height = 720;
    options.show.fps = 30;
    auto takeOwn = [&options](int code, const char* value) {
        int frames = 0;
        switch (code) {
        case OPTION_OUTPUT:
            options.output = value;
            return !options.output.empty();
        case OPTION_SECONDS:
            options.frames = -1;
            return TakeSeconds(value, &options.seconds);
        case OPTION_FRAMES:
            if (!TakeNumber(value, 3600 * OFFSCREEN_MAX_FPS, &frames)) return false;
            options.frames = frames;
            return true;
        case OPTION_START:
            return TakeSeconds(value, &options.start);
        case OPTION_CRF:
            return TakeNumber(value, 63, &options.encoder.crf);
        case OPTION_QUALITY:
            return TakeNumber(value, 100, &options.encoder.quality);
        case OPTION_LOSSLESS:
            options.encoder.lossless = true;
            return true;
        }
        return false;
    };
    std::string problem;
    switch (ParseOffscreenOptions(argc, argv, RECORD_OPTIONS, takeOwn, &options.show, &problem)) {
    case OFFSCREEN_PARSE_HELP:
        std::fputs(USAGE, stdout);
        std::fputs(OFFSCREEN_OPTIONS_USAGE, stdout);
        std::fputs(SettingOptionsUsage("These set one setting over the defaults:\n").c_str(), stdout);
        std::exit(0);
    case OFFSCREEN_PARSE_BAD:
        Fail(problem);
    case OFFSCREEN_PARSE_RUN:
        break;
    }
    if (options.output.empty()) Fail("give the file to write with --output FILE");
    if (options.frames < 0) options.frames = FrameAt(options.seconds, options.show.fps);
    if (options.frames < 1) Fail("a recording needs at least one frame");
    options.encoder.width = options.show.width;
    options.encoder.height = options.show.height;
    options.encoder.fps = options.show.fps;
    return options;
}

static volatile sig_atomic_t s_stopSignal = 0;

static void OnStopSignal(int signal) {
    s_stopSignal = signal;
}

static void CatchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

// The file is made beside its target and renamed over it once complete, so the target is never
// half written, and an existing one stays until then.
static std::string MakeTemporary(const std::string& target) {
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string path = folder + (slash == std::string::npos ? "/." : ".") + name + ".XXXXXX";
    int fd = mkstemp(&path[0]);
    if (fd < 0) Fail("cannot write \"" + target + "\": " + std::strerror(errno));
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);  // the mode an ordinary new file gets, not mkstemp's 0600
    close(fd);
    return path;
}

// frames done of the total, the rate and the time left, rewritten in place.
class Progress {
public:
    explicit Progress(long total) : total_(total), shown_(isatty(STDERR_FILENO)) {}
    void Frame(long done) {
        auto now = std::chrono::steady_clock::now();
        if (!shown_ || (done < total_ && now - last_ < std::chrono::milliseconds(250))) return;
        last_ = now;
        double seconds = std::chrono::duration<double>(now - begun_).count();
        double rate = seconds > 0 ? done / seconds : 0;
        long left = rate > 0 ? std::lround((total_ - done) / rate) : 0;
        std::fprintf(stderr, "\rframe %ld of %ld, %.1f frames/s, %ld s left  ", done, total_, rate, left);
        if (done == total_) std::fputc('\n', stderr);
    }

private:
    long total_;
    bool shown_;
    std::chrono::steady_clock::time_point begun_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = begun_;
};

static bool Record(const RecordOptions& options, OffscreenShow& show, VideoEncoder& encoder,
                   const std::string& path, std::string* problem) {
    if (!encoder.Open(path, options.encoder, problem)) return false;
    long first = FrameAt(options.start, options.show.fps);
    Progress progress(options.frames);
    for (long done = 0; done < options.frames; progress.Frame(++done)) {
        if (s_stopSignal) return false;
        show.RunTo(first + done);
        if (!encoder.Add(show.Read(), problem)) return false;
    }
    return !s_stopSignal && encoder.Finish(problem);
}

int main(int argc, char** argv) {
    RecordOptions options = ParseOptions(argc, argv);
    RecordFormat format = FormatOfPath(options.output);
    CheckFormatOptions(options, format);
    CatchStopSignals();
    std::string path = MakeTemporary(options.output);
    if (!options.show.request.seedGiven) {
        options.show.request.seedGiven = true;
        options.show.request.seed = uint32_t(std::time(nullptr));
        std::printf("seed %u\n", unsigned(options.show.request.seed));
        std::fflush(stdout);
    }
    std::string problem;
    OffscreenShow show;
    bool recorded = false;
    if (!show.Start(options.show, false)) {
        problem = "no offscreen OpenGL (Mesa EGL surfaceless) here";
    } else {
        std::unique_ptr<VideoEncoder> encoder =
            format == RECORD_WEBP ? MakeWebpEncoder() : MakeFfmpegEncoder(format);
        recorded = Record(options, show, *encoder, path, &problem);
    }
    show.Stop();
    if (recorded && std::rename(path.c_str(), options.output.c_str()) == 0) return 0;
    if (recorded) problem = "cannot write \"" + options.output + "\": " + std::strerror(errno);
    std::remove(path.c_str());
    if (s_stopSignal) {
        // Ended as the signal would have ended it, for whoever sent it.
        signal(s_stopSignal, SIG_DFL);
        raise(s_stopSignal);
    }
    Fail(problem);
}
