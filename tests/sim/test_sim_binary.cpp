#include <sys/wait.h>
#include <unistd.h>

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
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

SimRun RunSim(const std::string& arguments) {
    char errPath[] = "/tmp/vesperglow-sim-stderr-XXXXXX";
    int fd = mkstemp(errPath);
    EXPECT_GE(fd, 0);
    close(fd);
    SimRun run;
    std::string command = std::string(VG_SIM_PATH) + " " + arguments + " 2>" + errPath + " </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(nullptr, pipe);
    if (!pipe) return run;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    unlink(errPath);
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The summary's "key value" lines, up to and including the hash; "bursts <kind>" keeps both words.
std::map<std::string, std::string> Summary(const std::string& out) {
    std::map<std::string, std::string> summary;
    for (const std::string& line : Lines(out)) {
        std::istringstream words(line);
        std::string key, value;
        words >> key >> value;
        if (key == "bursts") {
            std::string count;
            words >> count;
            summary[key + " " + value] = count;
        } else {
            summary[key] = value;
        }
        if (key == "hash") break;
    }
    return summary;
}

// Everything after the hash line.
std::string DumpPart(const std::string& out) {
    size_t hash = out.find("hash ");
    if (hash == std::string::npos) return "";
    size_t end = out.find('\n', hash);
    return end == std::string::npos ? "" : out.substr(end + 1);
}

uint64_t Fnv1a64(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

long Number(const std::map<std::string, std::string>& summary, const std::string& key) {
    auto found = summary.find(key);
    EXPECT_NE(summary.end(), found) << key;
    return found == summary.end() ? -1 : std::strtol(found->second.c_str(), nullptr, 10);
}

const char* const BURST_KINDS[8] = {"spherical", "weeping-willow", "blast", "sparkling",
                                    "chain-reaction", "small-blast", "waver", "cork-screw"};

}  // namespace

TEST(SimBinary, OneSeedGivesTheSameShowAndTheSameDump) {
    SimRun first = RunSim("--seed 42 --frames 1500 --dump");
    SimRun second = RunSim("--seed 42 --frames 1500 --dump");
    ASSERT_EQ(0, first.exitCode) << first.err;
    ASSERT_EQ(0, second.exitCode);
    EXPECT_EQ(first.out, second.out);
    EXPECT_GT(Number(Summary(first.out), "live"), 0);
}

TEST(SimBinary, DifferentSeedsGiveDifferentShows) {
    SimRun first = RunSim("--seed 42 --frames 1500 --dump");
    SimRun other = RunSim("--seed 43 --frames 1500 --dump");
    ASSERT_EQ(0, other.exitCode);
    EXPECT_NE(Summary(first.out)["hash"], Summary(other.out)["hash"]);
    EXPECT_NE(DumpPart(first.out), DumpPart(other.out));
}

TEST(SimBinary, SummaryNamesEverythingAndTheHashIsTheDumpsFnv) {
    SimRun run = RunSim("--seed 7 --frames 2400 --dump --display-title 0 --frequency 60");
    ASSERT_EQ(0, run.exitCode) << run.err;
    std::map<std::string, std::string> summary = Summary(run.out);
    EXPECT_EQ(7, Number(summary, "seed"));
    EXPECT_EQ(2400, Number(summary, "frames"));
    EXPECT_GE(Number(summary, "peak"), Number(summary, "live"));
    EXPECT_GE(Number(summary, "launches"), 30);  // forty seconds at one a second
    EXPECT_LE(Number(summary, "launches"), 41);
    long bursts = 0;
    for (const char* kind : BURST_KINDS) bursts += Number(summary, std::string("bursts ") + kind);
    EXPECT_GT(bursts, 20);

    std::string dump = DumpPart(run.out);
    char hash[32];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, Fnv1a64(dump));
    EXPECT_EQ(hash, summary["hash"]);

    // One line per occupied slot, in slot order, with the eighteen fields of the protocol.
    std::vector<std::string> lines = Lines(dump);
    EXPECT_EQ(size_t(Number(summary, "live")), lines.size());
    long previousSlot = -1;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        ASSERT_EQ(18u, fields.size()) << line;
        long slot = std::strtol(fields[0].c_str(), nullptr, 10);
        ASSERT_GT(slot, previousSlot);
        ASSERT_LT(slot, 10000);
        previousSlot = slot;
        long id = std::strtol(fields[1].c_str(), nullptr, 10);
        ASSERT_GE(id, 0);
        ASSERT_LE(id, 1073741823);
        ASSERT_TRUE(fields[2] == "2" || fields[2] == "3" || fields[2] == "4" || fields[2] == "6" || fields[2] == "1")
            << line;
        ASSERT_TRUE(fields[4] == "0" || fields[4] == "1");
        ASSERT_TRUE(fields[5] == "0" || fields[5] == "1");
        for (size_t i = 6; i < fields.size(); ++i) {
            char* end = nullptr;
            std::strtod(fields[i].c_str(), &end);
            ASSERT_EQ('\0', *end) << fields[i];
        }
    }
}

TEST(SimBinary, WarmUpFramesMeasureNothingAndTheClockSteps) {
    std::map<std::string, std::string> two = Summary(RunSim("--seed 1 --frames 2 --dt 0.5").out);
    EXPECT_EQ(0, Number(two, "live"));
    // Frames three and four bring the show to 1.0 s: nothing yet; frame five passes 1.3 s.
    EXPECT_EQ(0, Number(Summary(RunSim("--seed 1 --frames 4 --dt 0.5").out), "live"));
    long five = Number(Summary(RunSim("--seed 1 --frames 5 --dt 0.5").out), "live");
    EXPECT_GE(five, 3 * 200);
    EXPECT_LE(five, 3 * 300);
    EXPECT_EQ(1, Number(Summary(RunSim("--seed 1 --frames 1 --display-title 0 --frequency 60").out), "launches"));
}

TEST(SimBinary, StepsLongerThanASecondAreSimulatedAsOne) {
    // 600 s frames: the show time grows by 1.0 a frame, so the opening show is not skipped.
    SimRun run = RunSim("--seed 3 --frames 4 --dt 600");
    ASSERT_EQ(0, run.exitCode);
    std::map<std::string, std::string> summary = Summary(run.out);
    EXPECT_EQ(0, Number(summary, "launches"));
    EXPECT_GE(Number(summary, "live"), 5 * 200);  // the stages at 1.0, 1.3 and 1.6 in one frame
    EXPECT_LE(Number(summary, "live"), 5 * 300);
    EXPECT_EQ(summary["hash"], Summary(RunSim("--seed 3 --frames 4 --dt 1").out)["hash"]);
}

TEST(SimBinary, WeightsChooseTheBurstKinds) {
    std::map<std::string, std::string> spherical =
        Summary(RunSim("--seed 5 --frames 3600 --display-title 0 --frequency 60 --weights 0,0,0,0,0,0,0").out);
    EXPECT_GT(Number(spherical, "bursts spherical"), 20);
    std::map<std::string, std::string> blast =
        Summary(RunSim("--seed 5 --frames 3600 --display-title 0 --frequency 60 --weights 0,7,0,0,0,0,0").out);
    EXPECT_GT(Number(blast, "bursts blast"), 20);
    for (const char* kind : BURST_KINDS) {
        std::string key = std::string("bursts ") + kind;
        if (key != "bursts spherical") {
            EXPECT_EQ(0, Number(spherical, key)) << key;
        }
        if (key != "bursts blast") {
            EXPECT_EQ(0, Number(blast, key)) << key;
        }
    }
}

TEST(SimBinary, StarsMoveTheRandomTableBeforeTheShow) {
    std::string none = Summary(RunSim("--seed 9 --frames 900 --stars 0").out)["hash"];
    std::string narrow = Summary(RunSim("--seed 9 --frames 900 --size 59x768").out)["hash"];
    std::string some = Summary(RunSim("--seed 9 --frames 900").out)["hash"];
    std::string twilight = Summary(RunSim("--seed 9 --frames 900 --twilight 0").out)["hash"];
    EXPECT_EQ(none, narrow);  // no stars either way
    EXPECT_NE(none, some);
    EXPECT_EQ(some, twilight);  // dimming changes colours, not the number of draws
}

TEST(SimBinary, SeedDefaultsToTheCalendarTime) {
    long before = long(std::time(nullptr));
    SimRun run = RunSim("--frames 1");
    long after = long(std::time(nullptr));
    ASSERT_EQ(0, run.exitCode);
    long seed = Number(Summary(run.out), "seed");
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, after);
}

TEST(SimBinary, BadOptionsExitWithTwoAndSayWhy) {
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
        SimRun run = RunSim(std::string("--frames 1 ") + arguments);
        EXPECT_EQ(2, run.exitCode) << arguments;
        EXPECT_NE(std::string::npos, run.err.find("usage: vesperglow-sim")) << arguments;
        EXPECT_NE(std::string::npos, run.err.find("vesperglow-sim: ")) << arguments;
        EXPECT_EQ("", run.out) << arguments;
    }
}

TEST(SimBinary, HelpPrintsUsageAndSucceeds) {
    SimRun run = RunSim("--help");
    EXPECT_EQ(0, run.exitCode);
    EXPECT_NE(std::string::npos, run.out.find("usage: vesperglow-sim"));
    EXPECT_NE(std::string::npos, run.out.find("--weights"));
}
