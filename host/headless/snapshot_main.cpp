// vesperglow-snapshot: runs the saver offscreen, as its window mode would run on a screen, for a
// few seconds of the show past the opening (or up to a moment of the opening), and writes the last
// frame as a PNG.
#include <getopt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/saver_window.h"
#include "engine/saver_window_proc.h"
#include "host/headless/headless_host.h"
#include "host/headless/png_image.h"
#include "host/linux/keyfile_store.h"

static const char USAGE[] =
    "usage: vesperglow-snapshot [--output FILE.png] [--seed N] [--size WxH] [--seconds S]\n"
    "                           [--opening S] [--hold F1|F2]... [--monitor N]\n"
    "  Renders the show offscreen (Mesa EGL) and writes its last frame; prints the file's path.\n"
    "  --seconds is show time past the opening (default 8); the settings are the user's own.\n"
    "  --opening stops S seconds into the opening show instead (its title shows from 1 to 6).\n"
    "  --hold keeps F1 (the border) or F2 (the frame rate) down from the start.\n"
    "  --monitor draws the show monitor N (0 the primary) plays with the same seed.\n";

const double SNAPSHOT_FRAME_SECONDS = 1.0 / 60;
// The opening show lasts six seconds; this bounds the run should the show never get past it.
const double SNAPSHOT_OPENING_LIMIT = 30.0;

struct SnapshotOptions {
    std::string output;
    int width = 1024;
    int height = 768;
    double seconds = 8.0;
    double opening = 0;  // 0: run past the opening show
    std::vector<uint32_t> heldKeys;
    SaverShowRequest request = {};
};

[[noreturn]] static void Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "vesperglow-snapshot: %s\n", problem);
    std::fputs(USAGE, problem ? stderr : stdout);
    std::exit(problem ? 1 : 0);
}

static std::string DefaultOutput() {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory && *directory ? directory : "/tmp") + "/vesperglow-snapshot.png";
}

// Every option takes a value, one dash or two alike; the letter is each option's own code.
static const option SNAPSHOT_OPTIONS[] = {
    {"output", required_argument, nullptr, 'o'}, {"seed", required_argument, nullptr, 's'},
    {"size", required_argument, nullptr, 'z'},   {"seconds", required_argument, nullptr, 'S'},
    {"opening", required_argument, nullptr, 'O'}, {"hold", required_argument, nullptr, 'H'},
    {"monitor", required_argument, nullptr, 'm'}, {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

static SnapshotOptions ParseOptions(int argc, char** argv) {
    SnapshotOptions options;
    options.output = DefaultOutput();
    opterr = 0;  // the problems are worded here
    for (int code; (code = getopt_long_only(argc, argv, ":h", SNAPSHOT_OPTIONS, nullptr)) != -1;) {
        const char* value = optarg;
        char extra = 0;
        unsigned long seed = 0;
        switch (code) {
        case 'o':
            options.output = value;
            break;
        case 's':
            if (std::sscanf(value, "%lu%c", &seed, &extra) != 1 || value[0] == '-' || seed > 0xFFFFFFFFul)
                Usage("bad value for --seed");
            options.request.seedGiven = true;
            options.request.seed = uint32_t(seed);
            break;
        case 'z':
            if (std::sscanf(value, "%dx%d%c", &options.width, &options.height, &extra) != 2 || options.width < 1 ||
                options.height < 1 || options.width > 8192 || options.height > 8192)
                Usage("bad value for --size");
            break;
        case 'S':
            if (std::sscanf(value, "%lf%c", &options.seconds, &extra) != 1 || !(options.seconds >= 0) ||
                options.seconds > 3600)
                Usage("bad value for --seconds");
            break;
        case 'O':
            if (std::sscanf(value, "%lf%c", &options.opening, &extra) != 1 || !(options.opening > 0) ||
                options.opening > 6)
                Usage("bad value for --opening");
            break;
        case 'm':
            if (std::sscanf(value, "%d%c", &options.request.monitorIndex, &extra) != 1 ||
                options.request.monitorIndex < 0 || options.request.monitorIndex >= SAVER_MAX_MONITORS)
                Usage("bad value for --monitor");
            break;
        case 'H':
            if (std::strcmp(value, "F1") != 0 && std::strcmp(value, "F2") != 0) Usage("bad value for --hold");
            options.heldKeys.push_back(value[1] == '1' ? SAVER_VK_F1 : SAVER_VK_F2);
            break;
        case 'h':
            Usage(nullptr);
        case ':':
            Usage((std::string("missing value for ") + argv[optind - 1]).c_str());
        default:
            Usage((std::string("unknown option ") + argv[optind - 1]).c_str());
        }
    }
    if (optind < argc) Usage((std::string("unknown option ") + argv[optind]).c_str());
    return options;
}

int main(int argc, char** argv) {
    SnapshotOptions options = ParseOptions(argc, argv);
    OpenSettingsStore();
    g_settings.Load();
    options.request.settings = &g_settings;
    HeadlessSetDesktopSize(options.width, options.height);
    // The window mode of the Linux program: a window of its own with the desktop as its parent.
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, options.width, options.height,
                                                  HeadlessDesktopWindow(), options.request);
    SaverWindowState& state = *SaverWindowStateOf(window);
    Show& show = *state.shows[0].show;
    show.clock = FrameClock();  // stepped: a seed gives the same picture every time
    if (!state.gl.context) {
        std::fprintf(stderr, "vesperglow-snapshot: no offscreen OpenGL (Mesa EGL surfaceless) here\n");
        return 1;
    }

    for (uint32_t key : options.heldKeys) SaverWindowProc(window, SAVER_WM_KEYDOWN, key, 0);

    double opening = 0;
    while (show.introStage != SHOW_MAIN_STAGE && opening < SNAPSHOT_OPENING_LIMIT &&
           !(options.opening > 0 && show.showTime >= options.opening)) {
        show.clock.Step(SNAPSHOT_FRAME_SECONDS);
        HeadlessPump(window);
        opening += SNAPSHOT_FRAME_SECONDS;
    }
    for (double shown = 0; options.opening == 0 && shown < options.seconds; shown += SNAPSHOT_FRAME_SECONDS) {
        show.clock.Step(SNAPSHOT_FRAME_SECONDS);
        HeadlessPump(window);
    }

    RgbImage image = ReadFramebuffer(window->width, window->height);
    HeadlessClose(window);
    HeadlessFreeWindow(window);
    if (!WritePng(options.output.c_str(), image)) {
        std::fprintf(stderr, "vesperglow-snapshot: cannot write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("%s\n", options.output.c_str());
    return 0;
}
