#include <sys/wait.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct SimRun {
    int exitCode = -1;
    std::string text;
};

// Runs the built simulator with no standard input, reading its standard output, or with `errors` its
// standard error alone.
SimRun RunSim(const std::string& arguments, bool errors = false) {
    SimRun run;
    std::string command =
        std::string(VG_SIM_PATH) + " " + arguments + (errors ? " 2>&1 >/dev/null" : " 2>/dev/null") + " </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(nullptr, pipe);
    if (!pipe) return run;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.text.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The summary's lines up to the hash, by everything before their last word ("live", "bursts blast").
std::map<std::string, std::string> Summary(const std::string& out) {
    std::map<std::string, std::string> summary;
    for (const std::string& line : Lines(out)) {
        size_t last = line.rfind(' ');
        summary[line.substr(0, last)] = line.substr(last + 1);
        if (line.compare(0, 5, "hash ") == 0) break;
    }
    return summary;
}

long Number(const std::map<std::string, std::string>& summary, const std::string& key) {
    auto found = summary.find(key);
    EXPECT_NE(summary.end(), found) << key;
    return found == summary.end() ? -1 : std::strtol(found->second.c_str(), nullptr, 10);
}

long Live(const std::string& arguments) {
    return Number(Summary(RunSim(arguments).text), "live");
}

// Everything after the hash line.
std::string DumpPart(const std::string& out) {
    size_t hash = out.find("hash ");
    size_t end = hash == std::string::npos ? hash : out.find('\n', hash);
    return end == std::string::npos ? "" : out.substr(end + 1);
}

const char* const BURST_KINDS[8] = {"spherical",      "weeping-willow", "blast", "sparkling",
                                    "chain-reaction", "small-blast",    "waver", "cork-screw"};

}  // namespace

TEST(SimBinary, OneSeedGivesTheSameShowAndTheSameDumpAndAnotherSeedAnotherShow) {
    SimRun first = RunSim("--seed 42 --frames 1500 --dump");
    SimRun other = RunSim("--seed 43 --frames 1500 --dump");
    ASSERT_EQ(0, first.exitCode);
    EXPECT_EQ(first.text, RunSim("--seed 42 --frames 1500 --dump").text);
    EXPECT_GT(Number(Summary(first.text), "live"), 0);
    EXPECT_NE(Summary(first.text)["hash"], Summary(other.text)["hash"]);
    EXPECT_NE(DumpPart(first.text), DumpPart(other.text));
}

TEST(SimBinary, SummaryNamesEverythingAndTheHashIsTheDumpsFnv) {
    SimRun run = RunSim("--seed 7 --frames 2400 --dump --display-title 0 --frequency 60");
    ASSERT_EQ(0, run.exitCode);
    std::map<std::string, std::string> summary = Summary(run.text);
    EXPECT_EQ(7, Number(summary, "seed"));
    EXPECT_EQ(2400, Number(summary, "frames"));
    EXPECT_GE(Number(summary, "peak"), Number(summary, "live"));
    EXPECT_GE(Number(summary, "launches"), 30);  // forty seconds at one a second
    EXPECT_LE(Number(summary, "launches"), 41);
    long bursts = 0;
    for (const char* kind : BURST_KINDS) bursts += Number(summary, std::string("bursts ") + kind);
    EXPECT_GT(bursts, 20);

    std::string dump = DumpPart(run.text);
    uint64_t fnv = 14695981039346656037ull;
    for (unsigned char c : dump) fnv = (fnv ^ c) * 1099511628211ull;
    char hash[32];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, fnv);
    EXPECT_EQ(hash, summary["hash"]);

    // One line per occupied slot, in slot order: slot, id, flags, kind, dead and burst due as integers,
    // then twelve numbers.
    std::vector<std::string> lines = Lines(dump);
    EXPECT_EQ(size_t(Number(summary, "live")), lines.size());
    long previousSlot = -1;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        ASSERT_EQ(18u, fields.size()) << line;
        long slot = std::strtol(fields[0].c_str(), nullptr, 10);
        ASSERT_TRUE(slot > previousSlot && slot < 10000) << line;
        previousSlot = slot;
        ASSERT_TRUE(std::strtol(fields[1].c_str(), nullptr, 10) <= 1073741823 && fields[1][0] != '-') << line;
        ASSERT_NE(std::string::npos, std::string("1 2 3 4 6").find(fields[2])) << line;
        ASSERT_TRUE((fields[4] == "0" || fields[4] == "1") && (fields[5] == "0" || fields[5] == "1")) << line;
        for (size_t i = 6; i < fields.size(); ++i) {
            char* end = nullptr;
            std::strtod(fields[i].c_str(), &end);
            ASSERT_EQ('\0', *end) << fields[i];
        }
    }
}

TEST(SimBinary, WarmUpFramesMeasureNothingAndLongerStepsThanASecondCountAsOne) {
    // Two warm-up frames, then 0.5 s each: the show reaches 1.0 s after four frames (nothing yet) and
    // passes 1.3 s in the fifth.
    EXPECT_EQ(0, Live("--seed 1 --frames 4 --dt 0.5"));
    long five = Live("--seed 1 --frames 5 --dt 0.5");
    EXPECT_TRUE(five >= 3 * 200 && five <= 3 * 300) << five;

    // 600 s frames: the show grows by 1.0 a frame, so the opening show is not skipped.
    EXPECT_EQ(0, Live("--seed 3 --frames 3 --dt 600"));
    std::map<std::string, std::string> summary = Summary(RunSim("--seed 3 --frames 4 --dt 600").text);
    EXPECT_EQ(0, Number(summary, "launches"));
    EXPECT_GE(Number(summary, "live"), 5 * 200);  // the stages at 1.0, 1.3 and 1.6 in one frame
    EXPECT_LE(Number(summary, "live"), 5 * 300);
    EXPECT_EQ(summary["hash"], Summary(RunSim("--seed 3 --frames 4 --dt 1").text)["hash"]);
}

TEST(SimBinary, WeightsChooseTheBurstKinds) {
    const std::pair<std::string, std::string> cases[] = {{"0,0,0,0,0,0,0", "spherical"}, {"0,7,0,0,0,0,0", "blast"}};
    for (const auto& c : cases) {
        std::map<std::string, std::string> summary =
            Summary(RunSim("--seed 5 --frames 3600 --display-title 0 --frequency 60 --weights " + c.first).text);
        for (const char* kind : BURST_KINDS) {
            long count = Number(summary, std::string("bursts ") + kind);
            EXPECT_TRUE(kind == c.second ? count > 20 : count == 0) << c.first << " " << kind << " " << count;
        }
    }
}

TEST(SimBinary, StarsMoveTheRandomTableBeforeTheShow) {
    std::string none = Summary(RunSim("--seed 9 --frames 900 --stars 0").text)["hash"];
    std::string narrow = Summary(RunSim("--seed 9 --frames 900 --size 59x768").text)["hash"];
    std::string some = Summary(RunSim("--seed 9 --frames 900").text)["hash"];
    std::string twilight = Summary(RunSim("--seed 9 --frames 900 --twilight 0").text)["hash"];
    EXPECT_EQ(none, narrow);  // no stars either way
    EXPECT_NE(none, some);
    EXPECT_EQ(some, twilight);  // dimming changes colours, not the number of draws
}

TEST(SimBinary, SeedDefaultsToTheCalendarTime) {
    long before = long(std::time(nullptr));
    long seed = Number(Summary(RunSim("--frames 1").text), "seed");
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, long(std::time(nullptr)));
}

TEST(SimBinary, BadOptionsExitWithTwoAndSayWhyWhileHelpSucceeds) {
    const char* const bad[] = {
        "--bogus",           "--seed",          "--seed abc",         "--seed -1",
        "--seed 4294967296", "--frames 1x",     "--frames -5",        "--frequency 9",
        "--frequency 61",    "--stars 5",       "--display-title 2",  "--twilight 2",
        "--weights 1,2,3",   "--weights 1,2,3,4,5,6,11",              "--weights 1,2,3,4,5,6,7,8",
        "--weights 1,,3,4,5,6,7",               "--size 0x10",        "--size 100",
        "--size 100x100x",   "--dt -1",         "--dt abc",           "--dt nan",
        "--dt",              "frames",
    };
    for (const char* arguments : bad) {
        std::string options = std::string("--frames 1 ") + arguments;
        SimRun errors = RunSim(options, true);
        EXPECT_EQ(2, errors.exitCode) << arguments;
        EXPECT_NE(std::string::npos, errors.text.find("vesperglow-sim: ")) << arguments;
        EXPECT_NE(std::string::npos, errors.text.find("usage: vesperglow-sim")) << arguments;
        EXPECT_EQ("", RunSim(options).text) << arguments;
    }
    SimRun help = RunSim("--help");
    EXPECT_EQ(0, help.exitCode);
    EXPECT_NE(std::string::npos, help.text.find("usage: vesperglow-sim"));
}
