// vesperglow-sim: runs the show's simulation exactly as the saver would, with no window,
// on a stepped clock, and prints what happened.
#include <getopt.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/monitor_seed.h"
#include "engine/show.h"

static const char USAGE[] =
    "usage: vesperglow-sim [--seed N] [--frames N] [--dt SECONDS] [--size WxH] [--frequency N]\n"
    "                      [--display-title 0|1] [--stars 0..4] [--twilight 0|1]\n"
    "                      [--weights a,b,c,d,e,f,g] [--monitor N] [--dump]\n";

static const char* const BURST_NAMES[BURST_KIND_COUNT] = {
    "none", "spherical", "weeping-willow", "blast", "sparkling",
    "chain-reaction", "small-blast", "waver", "cork-screw"};

struct SimOptions {
    uint32_t seed = uint32_t(std::time(nullptr));
    long frames = 600;
    double dt = 1.0 / 60;
    int width = 1024;
    int height = 768;
    int32_t monitor = 0;  // whose show of the seed: 0 the primary's
    bool dump = false;
    Settings settings;
};

[[noreturn]] static void Usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "vesperglow-sim: %s\n", problem.c_str());
    std::fputs(USAGE, problem.empty() ? stdout : stderr);
    std::exit(problem.empty() ? 0 : 2);
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
    if (!valid) Usage(std::string("bad value for ") + option);
    return value;
}

// A setting given on the command line must lie in the range the store would accept.
static void SetSetting(Settings* settings, const char* name, const char* text) {
    for (const SettingsValue& value : SETTINGS_VALUES) {
        if (std::strcmp(value.name, name) != 0) continue;
        uint64_t parsed = ParseUnsigned(text, value.maximum, name);
        if (parsed < value.minimum) Usage(std::string("bad value for ") + name);
        settings->*value.field = uint32_t(parsed);
    }
}

static void SetWeights(Settings* settings, const char* text) {
    static const char* const names[7] = {"Spherical Weight", "Blast Weight", "Weeping Willow Weight",
                                         "Sparkling Weight", "Chain Reaction Weight", "Cork Screw Weight",
                                         "Waver Weight"};
    std::string rest = text;
    for (int i = 0; i < 7; ++i) {
        size_t comma = rest.find(',');
        if ((i < 6) != (comma != std::string::npos)) Usage("--weights takes seven numbers");
        SetSetting(settings, names[i], rest.substr(0, comma).c_str());
        rest = i < 6 ? rest.substr(comma + 1) : "";
    }
}

enum SimOption { OPTION_SEED = 256, OPTION_FRAMES, OPTION_DT, OPTION_SIZE, OPTION_WEIGHTS, OPTION_MONITOR, OPTION_DUMP,
                 OPTION_HELP, OPTION_SETTING };

// The options that set one stored value each, by its name in the store; their codes follow OPTION_SETTING.
static const char* const SETTING_OPTIONS[] = {"Frequency", "Display Vesperglow", "Stars", "Twilight Sky"};

static const option SIM_OPTIONS[] = {
    {"seed", required_argument, nullptr, OPTION_SEED},
    {"frames", required_argument, nullptr, OPTION_FRAMES},
    {"dt", required_argument, nullptr, OPTION_DT},
    {"size", required_argument, nullptr, OPTION_SIZE},
    {"weights", required_argument, nullptr, OPTION_WEIGHTS},
    {"monitor", required_argument, nullptr, OPTION_MONITOR},
    {"dump", no_argument, nullptr, OPTION_DUMP},
    {"help", no_argument, nullptr, OPTION_HELP},
    {"frequency", required_argument, nullptr, OPTION_SETTING},
    {"display-title", required_argument, nullptr, OPTION_SETTING + 1},
    {"stars", required_argument, nullptr, OPTION_SETTING + 2},
    {"twilight", required_argument, nullptr, OPTION_SETTING + 3},
    {nullptr, 0, nullptr, 0},
};

static SimOptions ParseOptions(int argc, char** argv) {
    SimOptions options;
    opterr = 0;  // the problems are worded here
    for (int code; (code = getopt_long_only(argc, argv, ":", SIM_OPTIONS, nullptr)) != -1;) {
        const char* value = optarg;
        switch (code) {
        case OPTION_SEED:
            options.seed = uint32_t(ParseUnsigned(value, 0xFFFFFFFFu, "--seed"));
            break;
        case OPTION_FRAMES:
            options.frames = long(ParseUnsigned(value, 100000000u, "--frames"));
            break;
        case OPTION_DT: {
            char* end = nullptr;
            options.dt = std::strtod(value, &end);
            if (*end || !(options.dt >= 0 && options.dt <= 3600)) Usage("bad value for --dt");
            break;
        }
        case OPTION_SIZE: {
            char extra = 0;
            if (std::sscanf(value, "%dx%d%c", &options.width, &options.height, &extra) != 2 || options.width <= 0 ||
                options.height <= 0 || options.width > 65535 || options.height > 65535)
                Usage("bad value for --size");
            break;
        }
        case OPTION_WEIGHTS:
            SetWeights(&options.settings, value);
            break;
        case OPTION_MONITOR:
            options.monitor = int32_t(ParseUnsigned(value, SAVER_MAX_MONITORS - 1, "--monitor"));
            break;
        case OPTION_DUMP:
            options.dump = true;
            break;
        case OPTION_HELP:
            Usage("");
        case ':':
            Usage(std::string("bad value for ") + argv[optind - 1]);
        case '?':
            Usage(std::string("unknown option ") + argv[optind - 1]);
        default:
            SetSetting(&options.settings, SETTING_OPTIONS[code - OPTION_SETTING], value);
            break;
        }
    }
    if (optind < argc) Usage(std::string("unknown option ") + argv[optind]);
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
    show.Init(MonitorSeed(options.seed, options.monitor), options.settings);
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
