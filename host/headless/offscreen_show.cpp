#include "host/headless/offscreen_show.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/saver_window.h"
#include "engine/saver_window_proc.h"

const char OFFSCREEN_OPTIONS_USAGE[] =
    "  --seed N        a reproducible show (else the calendar time)\n"
    "  --size WxH      the window's size in pixels\n"
    "  --fps N         frames per second of show time, 1 to 60; the show's steps depend on it\n"
    "  --hold F1|F2    keep F1 (the border) or F2 (the frame rate) down from the start\n";

enum SharedOption { OPTION_SEED = 300, OPTION_SIZE, OPTION_FPS, OPTION_HOLD, OPTION_HELP };

static const option SHARED_OPTIONS[] = {
    {"seed", required_argument, nullptr, OPTION_SEED}, {"size", required_argument, nullptr, OPTION_SIZE},
    {"fps", required_argument, nullptr, OPTION_FPS},   {"hold", required_argument, nullptr, OPTION_HOLD},
    {"help", no_argument, nullptr, OPTION_HELP},       {"h", no_argument, nullptr, OPTION_HELP},
};

static bool TakeSharedOption(int code, const char* value, OffscreenShowOptions* options) {
    uint32_t number = 0;
    char extra = 0;
    switch (code) {
    case OPTION_SEED:
        if (!ParseUnsigned32(value, &number)) break;
        options->request.seedGiven = true;
        options->request.seed = number;
        return true;
    case OPTION_SIZE:
        if (std::sscanf(value, "%dx%d%c", &options->width, &options->height, &extra) != 2 || options->width < 1 ||
            options->height < 1 || options->width > 8192 || options->height > 8192)
            break;
        return true;
    case OPTION_FPS:
        if (!ParseUnsigned32(value, &number) || number < 1 || number > OFFSCREEN_MAX_FPS) break;
        options->fps = int(number);
        return true;
    case OPTION_HOLD:
        if (std::strcmp(value, "F1") != 0 && std::strcmp(value, "F2") != 0) break;
        options->heldKeys.push_back(value[1] == '1' ? SAVER_VK_F1 : SAVER_VK_F2);
        return true;
    }
    return false;
}

OffscreenParse ParseOffscreenOptions(int argc, char** argv, const std::vector<option>& own,
                                     const OwnOptionTaker& takeOwn, OffscreenShowOptions* options,
                                     std::string* problem) {
    std::vector<option> all(own);
    all.insert(all.end(), std::begin(SHARED_OPTIONS), std::end(SHARED_OPTIONS));
    AppendSettingOptions(&all);
    all.push_back({nullptr, 0, nullptr, 0});
    optind = 0;
    opterr = 0;  // the problems are worded here
    for (int code; (code = getopt_long_only(argc, argv, ":", all.data(), nullptr)) != -1;) {
        bool taken = false;
        problem->clear();
        if (code == OPTION_HELP) return OFFSCREEN_PARSE_HELP;
        if (code == ':') {
            if (optopt >= SETTING_OPTION_CODES)
                TakeSettingOption(optopt, nullptr, &options->settings, problem);
            else
                *problem = std::string(argv[optind - 1]) + " needs a value";
            return OFFSCREEN_PARSE_BAD;
        }
        if (code == '?') {
            *problem = std::string("unknown option \"") + argv[optind - 1] + "\"";
            return OFFSCREEN_PARSE_BAD;
        }
        if (code >= SETTING_OPTION_CODES)
            taken = TakeSettingOption(code, optarg, &options->settings, problem);
        else if (code >= OPTION_SEED)
            taken = TakeSharedOption(code, optarg, options);
        else
            taken = takeOwn(code, optarg);
        if (taken) continue;
        for (const option& known : all)
            if (known.name && known.val == code && problem->empty())
                *problem = std::string("bad value \"") + optarg + "\" for --" + known.name;
        return OFFSCREEN_PARSE_BAD;
    }
    if (optind < argc) {
        *problem = std::string("unknown option \"") + argv[optind] + "\"";
        return OFFSCREEN_PARSE_BAD;
    }
    return OFFSCREEN_PARSE_RUN;
}

long FrameAt(double seconds, int fps) {
    return std::lround(seconds * fps);
}

bool OffscreenShow::Start(const OffscreenShowOptions& options, bool userSettings) {
    // Without the user's store the show takes the defaults, so one command gives one picture for
    // everyone; the options go over either, as the X11 program puts them.
    if (userSettings) g_settings.Load();
    settings_ = userSettings ? g_settings : Settings();
    ApplySettingOptions(options.settings, &settings_);
    SaverShowRequest request = options.request;
    request.settings = &settings_;
    fps_ = options.fps;
    framesRun_ = 0;
    HeadlessSetDesktopSize(options.width, options.height);
    window_ = HeadlessCreateWindow(SaverWindowProc, options.width, options.height, HeadlessDesktopWindow(), request);
    SaverWindowState* state = SaverWindowStateOf(window_);
    if (!state || !state->gl.context || state->shows.empty()) return false;
    show_ = state->shows[0].show.get();
    show_->clock = FrameClock();  // stepped
    for (uint32_t key : options.heldKeys) SaverWindowProc(window_, SAVER_WM_KEYDOWN, key, 0);
    return true;
}

void OffscreenShow::RunTo(long frame) {
    for (; framesRun_ <= frame; ++framesRun_) {
        show_->clock.Step(1.0 / fps_);
        HeadlessPump(window_);
    }
}

RgbImage OffscreenShow::Read() const {
    return ReadFramebuffer(window_->width, window_->height);
}

void OffscreenShow::Stop() {
    if (!window_) return;
    HeadlessClose(window_);
    HeadlessFreeWindow(window_);
    window_ = nullptr;
}
