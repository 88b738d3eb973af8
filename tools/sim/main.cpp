// vesperglow-sim: runs the show's simulation exactly as the saver would, with no window,
// on a stepped clock, and prints what happened.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/show.h"

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
    Settings settings;
};

[[noreturn]] static void Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "vesperglow-sim: %s\n", problem);
    std::fputs(USAGE, problem ? stderr : stdout);
    std::exit(problem ? 2 : 0);
}

static unsigned long ParseUnsigned(const char* text, unsigned long maximum, const char* option) {
    char* end = nullptr;
    if (!text || !*text || *text == '-') Usage((std::string("bad value for ") + option).c_str());
    unsigned long value = std::strtoul(text, &end, 10);
    if (*end || value > maximum) Usage((std::string("bad value for ") + option).c_str());
    return value;
}

// A setting given on the command line must lie in the range the store would accept.
static void SetSetting(Settings* settings, const char* name, const char* text) {
    for (const SettingsValue& value : SETTINGS_VALUES) {
        if (std::strcmp(value.name, name) != 0) continue;
        unsigned long parsed = ParseUnsigned(text, value.maximum, name);
        if (parsed < value.minimum) Usage((std::string("bad value for ") + name).c_str());
        settings->*value.field = uint32_t(parsed);
        return;
    }
}

static void SetWeights(Settings* settings, const char* text) {
    static const char* const names[7] = {"Spherical Weight", "Blast Weight", "Weeping Willow Weight",
                                         "Sparkling Weight", "Chain Reaction Weight", "Cork Screw Weight",
                                         "Waver Weight"};
    std::string rest = text ? text : "";
    for (int i = 0; i < 7; ++i) {
        size_t comma = rest.find(',');
        if ((i < 6) != (comma != std::string::npos)) Usage("--weights takes seven numbers");
        SetSetting(settings, names[i], rest.substr(0, comma).c_str());
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
            options.seed = uint32_t(ParseUnsigned(value, 0xFFFFFFFFul, "--seed"));
        } else if (option == "--frames") {
            options.frames = long(ParseUnsigned(value, 100000000ul, "--frames"));
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
            SetSetting(&options.settings, "Frequency", value);
        } else if (option == "--display-title") {
            SetSetting(&options.settings, "Display Vesperglow", value);
        } else if (option == "--stars") {
            SetSetting(&options.settings, "Stars", value);
        } else if (option == "--twilight") {
            SetSetting(&options.settings, "Twilight Sky", value);
        } else if (option == "--weights") {
            SetWeights(&options.settings, value);
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

static std::string DumpPool(const FireworkPool& pool) {
    std::string text;
    char line[1024];
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        const Firework* f = pool.slots[slot];
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
    // Static: the show's tables are too large for some stacks.
    static Show show;
    show.Init(options.seed, options.settings);
    show.Resize(options.width, options.height);

    BurstTally tally = {};
    long launches = 0;
    int peak = 0;
    for (long frame = 0; frame < options.frames; ++frame) {
        show.clock.Step(options.dt);
        launches += show.Step(&tally).launched;
        int live = show.world.pool.CountLive();
        if (live > peak) peak = live;
    }

    std::string dump = DumpPool(show.world.pool);
    std::printf("seed %" PRIu32 "\n", options.seed);
    std::printf("frames %ld\n", options.frames);
    std::printf("live %d\n", show.world.pool.CountLive());
    std::printf("launches %ld\n", launches);
    std::printf("launch-attempts %d\n", int(show.launchCount));
    for (int kind = 1; kind < BURST_KIND_COUNT; ++kind) std::printf("bursts %s %lld\n", BURST_NAMES[kind], tally.byKind[kind]);
    std::printf("peak %d\n", peak);
    std::printf("hash %016" PRIx64 "\n", Fnv1a64(dump));
    if (options.dump) std::fputs(dump.c_str(), stdout);
    return 0;
}
