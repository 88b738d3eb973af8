// vesperglow-sim: runs the show's simulation exactly as the saver would, with no window,
// on a stepped clock, and prints what happened.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/engine_state.h"
#include "engine/frame_clock.h"
#include "engine/show.h"
#include "engine/stars_for_window.h"
#include "fireworks/crt_rand.h"
#include "fireworks/draw_list.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"

static int64_t s_steppedCounter = 0;

static bool SteppedFrequency(int64_t* countsPerSecond) {
    *countsPerSecond = 1000000000;
    return true;
}
static int64_t SteppedCounter() { return s_steppedCounter; }
static uint32_t SteppedMilliseconds() { return uint32_t(s_steppedCounter / 1000000); }

static const char USAGE[] =
    "usage: vesperglow-sim [--seed N] [--frames N] [--dt SECONDS] [--size WxH] [--frequency N]\n"
    "                      [--display-title 0|1] [--stars 0..4] [--twilight 0|1]\n"
    "                      [--weights a,b,c,d,e,f,g] [--dump]\n";

static const char* const BURST_NAMES[BURST_KIND_COUNT] = {
    "none", "spherical", "weeping-willow", "blast", "sparkling",
    "chain-reaction", "small-blast", "waver", "cork-screw"};

struct SimOptions {
    uint32_t seed = uint32_t(std::time(nullptr));
    long frames = 600;
    double dt = 1.0 / 60;
    int width = 1024;
    int height = 768;
    bool dump = false;
};

[[noreturn]] static void Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "vesperglow-sim: %s\n", problem);
    std::fputs(USAGE, problem ? stderr : stdout);
    std::exit(problem ? 2 : 0);
}

// Decimal digits only, read here rather than by strtoul: unsigned long is 32 bits on Windows and
// 64 on Linux, and every build must take and refuse the same numbers.
static uint64_t ParseUnsigned(const char* text, uint64_t maximum, const char* option) {
    uint64_t value = 0;
    bool valid = text && *text;
    for (const char* c = text; valid && *c; ++c) {
        uint64_t digit = uint64_t(*c - '0');
        valid = *c >= '0' && *c <= '9' && digit <= maximum && value <= (maximum - digit) / 10;
        value = value * 10 + digit;
    }
    if (!valid) Usage((std::string("bad value for ") + option).c_str());
    return value;
}

// A setting given on the command line must lie in the range the store would accept.
static void SetSetting(const char* name, const char* text) {
    for (const SettingsValue& value : SETTINGS_VALUES) {
        if (std::strcmp(value.name, name) != 0) continue;
        uint64_t parsed = ParseUnsigned(text, value.maximum, name);
        if (parsed < value.minimum) Usage((std::string("bad value for ") + name).c_str());
        g_settings.*value.field = uint32_t(parsed);
        return;
    }
}

static void SetWeights(const char* text) {
    static const char* const names[7] = {"Spherical Weight", "Blast Weight", "Weeping Willow Weight",
                                         "Sparkling Weight", "Chain Reaction Weight", "Cork Screw Weight",
                                         "Waver Weight"};
    std::string rest = text ? text : "";
    for (int i = 0; i < 7; ++i) {
        size_t comma = rest.find(',');
        if ((i < 6) != (comma != std::string::npos)) Usage("--weights takes seven numbers");
        SetSetting(names[i], rest.substr(0, comma).c_str());
        rest = i < 6 ? rest.substr(comma + 1) : "";
    }
}

static SimOptions ParseOptions(int argc, char** argv) {
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool takesValue = true;
        if (option == "--seed") {
            options.seed = uint32_t(ParseUnsigned(value, 0xFFFFFFFFu, "--seed"));
        } else if (option == "--frames") {
            options.frames = long(ParseUnsigned(value, 100000000u, "--frames"));
        } else if (option == "--dt") {
            char* end = nullptr;
            options.dt = value ? std::strtod(value, &end) : -1;
            if (!value || *end || !(options.dt >= 0 && options.dt <= 3600)) Usage("bad value for --dt");
        } else if (option == "--size") {
            int w = 0, h = 0;
            char extra = 0;
            if (!value || std::sscanf(value, "%dx%d%c", &w, &h, &extra) != 2 || w <= 0 || h <= 0 || w > 65535 ||
                h > 65535)
                Usage("bad value for --size");
            options.width = w;
            options.height = h;
        } else if (option == "--frequency") {
            SetSetting("Frequency", value);
        } else if (option == "--display-title") {
            SetSetting("Display Vesperglow", value);
        } else if (option == "--stars") {
            SetSetting("Stars", value);
        } else if (option == "--twilight") {
            SetSetting("Twilight Sky", value);
        } else if (option == "--weights") {
            SetWeights(value);
        } else if (option == "--dump") {
            options.dump = true;
            takesValue = false;
        } else if (option == "--help") {
            Usage(nullptr);
        } else {
            Usage(("unknown option " + option).c_str());
        }
        if (takesValue) ++i;
    }
    return options;
}

static std::string DumpPool() {
    std::string text;
    char line[1024];
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        const Firework* f = g_fireworkPool.slots[slot];
        if (!f) continue;
        std::snprintf(line, sizeof line,
                      "%d %d %d %d %d %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n",
                      slot, f->randomId, f->flags, f->burstKind, f->dead ? 1 : 0, f->burstDue ? 1 : 0,
                      f->position.x, f->position.y, f->position.z, f->velocity.x, f->velocity.y, f->velocity.z,
                      f->heading, f->holdTime, f->fadeLeft, f->color.x, f->color.y, f->color.z);
        text += line;
    }
    return text;
}

static uint64_t Fnv1a64(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

int main(int argc, char** argv) {
    SimOptions options = ParseOptions(argc, argv);

    // The saver's window creation, in its order: seed, random table, empty pool, clock, size.
    SeedRand(options.seed);
    FillRandomTable();
    EmptyPool();
    g_frameClock = FrameClock({SteppedFrequency, SteppedCounter, SteppedMilliseconds});
    g_frameClock.Restart();
    g_windowWidth = options.width;
    g_windowHeight = options.height;
    BuildStarsForWindow(options.width, options.height);

    DrawList list;
    BurstTally tally = {};
    long launches = 0;
    int peak = 0;
    const int64_t step = std::llround(options.dt * 1e9);
    for (long frame = 0; frame < options.frames; ++frame) {
        s_steppedCounter += step;
        list.Clear();
        launches += SimulateShowFrame(MeasureTimeStep(), list, &tally).launched;
        int live = CountLiveFireworks();
        if (live > peak) peak = live;
    }

    std::string dump = DumpPool();
    std::printf("seed %" PRIu32 "\n", options.seed);
    std::printf("frames %ld\n", options.frames);
    std::printf("live %d\n", CountLiveFireworks());
    std::printf("launches %ld\n", launches);
    std::printf("launch-attempts %d\n", int(g_launchCount));
    for (int kind = 1; kind < BURST_KIND_COUNT; ++kind) std::printf("bursts %s %lld\n", BURST_NAMES[kind], tally.byKind[kind]);
    std::printf("peak %d\n", peak);
    std::printf("hash %016" PRIx64 "\n", Fnv1a64(dump));
    if (options.dump) std::fputs(dump.c_str(), stdout);
    DeleteAllFireworks();
    g_starField.Destroy();
    return 0;
}
