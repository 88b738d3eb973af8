#pragma once
// What the snapshot program and the recorder share: the show's options, and the show run in the
// offscreen host frame by frame on a stepped clock, so that a seed, a frame rate and the settings
// give the same pictures on every run.
#include <getopt.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/show.h"
#include "host/headless/headless_host.h"
#include "host/headless/png_image.h"
#include "host/linux/setting_options.h"

const int OFFSCREEN_MAX_FPS = 60;

struct OffscreenShowOptions {
    SaverShowRequest request = {};
    int width = 1024;
    int height = 768;
    int fps = 60;
    std::vector<uint32_t> heldKeys;  // down from the start
    SettingOverrides settings;
};

// A program's own options have codes from 256 to 299; their taker returns false for a bad value.
const int OFFSCREEN_OWN_OPTION_CODES = 256;
typedef std::function<bool(int code, const char* value)> OwnOptionTaker;

enum OffscreenParse { OFFSCREEN_PARSE_RUN, OFFSCREEN_PARSE_HELP, OFFSCREEN_PARSE_BAD };

// -name and --name alike: --seed, --size, --fps, --hold, the setting options and the program's own.
// A bad, missing or unknown one gives OFFSCREEN_PARSE_BAD and one line in problem.
OffscreenParse ParseOffscreenOptions(int argc, char** argv, const std::vector<option>& own,
                                     const OwnOptionTaker& takeOwn, OffscreenShowOptions* options,
                                     std::string* problem);

// The usage lines of --seed, --size, --fps and --hold.
extern const char OFFSCREEN_OPTIONS_USAGE[];

// Seconds to a frame number at the show's frame rate.
long FrameAt(double seconds, int fps);

// The saver's window in the offscreen host, in the window mode of the Linux program.
class OffscreenShow {
public:
    // Settings from the user's store (userSettings) or the defaults, the options over them.
    // False when this machine has no offscreen OpenGL.
    bool Start(const OffscreenShowOptions& options, bool userSettings);
    // Frame n is the one drawn after n + 1 steps of 1/fps: the first two frames measure no time.
    void RunTo(long frame);
    long LastFrame() const { return framesRun_ - 1; }
    const Show& Current() const { return *show_; }
    RgbImage Read() const;
    void Stop();

private:
    Settings settings_;
    HeadlessWindow* window_ = nullptr;
    Show* show_ = nullptr;
    int fps_ = 60;
    long framesRun_ = 0;
};
