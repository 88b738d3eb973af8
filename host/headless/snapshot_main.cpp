// vesperglow-snapshot: runs the saver offscreen, as its window mode would run on a screen, for a
// few seconds of the show past the opening (or up to a moment of the opening, or of the whole
// show), and writes the last frame as a PNG.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/headless/offscreen_show.h"
#include "host/linux/keyfile_store.h"

static const char USAGE[] =
    "usage: vesperglow-snapshot [--output FILE.png] [--seed N] [--size WxH] [--fps N] [--seconds S]\n"
    "                           [--opening S | --at T] [--hold F1|F2]... [--monitor N] [setting options]\n"
    "  Renders the show offscreen (Mesa EGL) and writes its last frame; prints the file's path.\n"
    "  --seconds is show time past the opening (default 8); the settings are the user's own,\n"
    "  the setting options over them.\n"
    "  --opening stops S seconds into the opening show instead (its title shows from 1 to 6).\n"
    "  --at stops at T seconds from the start, opening included: the frame vesperglow-record\n"
    "  records for that moment with the same options.\n"
    "  --monitor draws the show monitor N (0 the primary) plays with the same seed.\n";

// The opening show lasts six seconds; this bounds the run should the show never get past it.
const double SNAPSHOT_OPENING_LIMIT = 30.0;

struct SnapshotOptions {
    std::string output;
    double seconds = 8.0;
    double opening = 0;  // 0: run past the opening show
    double at = -1;      // below 0: not given
    OffscreenShowOptions show;
};

[[noreturn]] static void Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "vesperglow-snapshot: %s\n", problem);
    std::fputs(USAGE, problem ? stderr : stdout);
    if (!problem) std::fputs(OFFSCREEN_OPTIONS_USAGE, stdout);
    if (!problem) std::fputs(SettingOptionsUsage("These set one setting over the settings file:\n").c_str(), stdout);
    std::exit(problem ? 1 : 0);
}

static std::string DefaultOutput() {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory && *directory ? directory : "/tmp") + "/vesperglow-snapshot.png";
}

enum SnapshotOption { OPTION_OUTPUT = OFFSCREEN_OWN_OPTION_CODES, OPTION_SECONDS, OPTION_OPENING, OPTION_AT,
                      OPTION_MONITOR };

static const std::vector<option> SNAPSHOT_OPTIONS = {
    {"output", required_argument, nullptr, OPTION_OUTPUT},
    {"seconds", required_argument, nullptr, OPTION_SECONDS},
    {"opening", required_argument, nullptr, OPTION_OPENING},
    {"at", required_argument, nullptr, OPTION_AT},
    {"monitor", required_argument, nullptr, OPTION_MONITOR},
};

static bool TakeSeconds(const char* value, double minimum, double maximum, double* seconds) {
    char extra = 0;
    return std::sscanf(value, "%lf%c", seconds, &extra) == 1 && *seconds >= minimum && *seconds <= maximum;
}

static SnapshotOptions ParseOptions(int argc, char** argv) {
    SnapshotOptions options;
    options.output = DefaultOutput();
    auto takeOwn = [&options](int code, const char* value) {
        uint32_t monitor = 0;
        switch (code) {
        case OPTION_OUTPUT:
            options.output = value;
            return true;
        case OPTION_SECONDS:
            return TakeSeconds(value, 0, 3600, &options.seconds);
        case OPTION_OPENING:
            return TakeSeconds(value, 0, 6, &options.opening) && options.opening > 0;
        case OPTION_AT:
            return TakeSeconds(value, 0, 3600, &options.at);
        case OPTION_MONITOR:
            if (!ParseUnsigned32(value, &monitor) || monitor >= SAVER_MAX_MONITORS) return false;
            options.show.request.monitorIndex = int32_t(monitor);
            return true;
        }
        return false;
    };
    std::string problem;
    switch (ParseOffscreenOptions(argc, argv, SNAPSHOT_OPTIONS, takeOwn, &options.show, &problem)) {
    case OFFSCREEN_PARSE_HELP:
        Usage(nullptr);
    case OFFSCREEN_PARSE_BAD:
        Usage(problem.c_str());
    case OFFSCREEN_PARSE_RUN:
        break;
    }
    return options;
}

int main(int argc, char** argv) {
    SnapshotOptions options = ParseOptions(argc, argv);
    OpenSettingsStore();
    OffscreenShow show;
    if (!show.Start(options.show, true)) {
        std::fprintf(stderr, "vesperglow-snapshot: no offscreen OpenGL (Mesa EGL surfaceless) here\n");
        return 1;
    }

    if (options.at >= 0) {
        show.RunTo(FrameAt(options.at, options.show.fps));
    } else {
        double step = 1.0 / options.show.fps;
        for (double opening = 0; show.Current().introStage != SHOW_MAIN_STAGE && opening < SNAPSHOT_OPENING_LIMIT &&
                                 !(options.opening > 0 && show.Current().showTime >= options.opening);
             opening += step)
            show.RunTo(show.LastFrame() + 1);
        for (double shown = 0; options.opening == 0 && shown < options.seconds; shown += step)
            show.RunTo(show.LastFrame() + 1);
    }

    RgbImage image = show.Read();
    show.Stop();
    if (!WritePng(options.output.c_str(), image)) {
        std::fprintf(stderr, "vesperglow-snapshot: cannot write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("%s\n", options.output.c_str());
    return 0;
}
