#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

struct SimRun {
    int exitCode = -1;
    std::string out;
};

// Runs the built simulator with no standard input; `streams` picks what is read ("2>&1" for both).
SimRun RunSim(const std::string& arguments, const std::string& streams = "2>/dev/null") {
    SimRun run;
    FILE* pipe = popen((std::string(VG_SIM_PATH) + " " + arguments + " " + streams + " </dev/null").c_str(), "r");
    char buffer[65536];
    for (size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = pipe ? pclose(pipe) : -1;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Field(const std::string& out, const std::string& name) {
    size_t at = out.find("\n" + name + " ");
    return at == std::string::npos ? "" : out.substr(at + name.size() + 2, out.find('\n', at + 1) - at - name.size() - 2);
}

}  // namespace

// The whole show, pinned: launches, every burst kind, flight, trails and the draws drawing takes, over
// seeds, window sizes, frame times (long ones clamped to a second) and settings mixes. A change that
// moves any record of any run changes its hash.
TEST(SimBinary, GoldenRunsKeepTheirHashes) {
    const std::pair<const char*, const char*> runs[] = {
        {"--seed 1 --frames 3600", "54adf28b7b249ce5"},
        {"--seed 7 --frames 1500 --display-title 0", "38163e3aeb14325d"},
        {"--seed 42 --frames 2400 --frequency 60 --weights 0,0,0,0,10,0,0", "4fbde64d78435fd6"},
        {"--seed 99 --frames 1800 --frequency 10 --weights 1,2,3,4,5,6,7 --stars 4", "a90096f7572b0ac4"},
        {"--seed 123 --frames 3000 --weights 0,0,0,0,0,0,0 --display-title 0", "a9f20027cdcc756f"},
        {"--seed 5 --frames 1200 --weights 0,0,0,0,0,10,10 --frequency 60 --size 640x480", "a42481ae79913acd"},
        {"--seed 314 --frames 900 --dt 0.05 --weights 10,10,0,10,0,0,0 --stars 0", "3a67f2f3252e88d1"},
        {"--seed 77 --frames 600 --dt 0.5 --frequency 45", "d700a2058610177f"},
        {"--seed 3 --frames 40 --dt 600", "9d320301f8216f86"},
        {"--seed 2024 --frames 5000 --frequency 60 --weights 0,10,10,0,10,0,0 --display-title 0 --size 1920x1080 "
         "--stars 2 --twilight 0",
         "ff062d2a2b126456"},
    };
    for (const auto& [arguments, hash] : runs) {
        SimRun run = RunSim(arguments);
        EXPECT_EQ(0, run.exitCode) << arguments;
        EXPECT_EQ(hash, Field(run.out, "hash")) << arguments;
    }
}

TEST(SimBinary, BadOptionsExitWithTwoAndSayWhyWhileHelpSucceeds) {
    for (const char* arguments : {"--bogus", "--seed", "--seed -1", "--seed 4294967296", "--frequency 61",
                                  "--weights 1,2,3", "--weights 1,2,3,4,5,6,11", "--size 100x100x", "--dt nan",
                                  "frames"}) {
        SimRun errors = RunSim(std::string("--frames 1 ") + arguments, "2>&1 >/dev/null");
        EXPECT_EQ(2, errors.exitCode) << arguments;
        EXPECT_EQ(0u, errors.out.find("vesperglow-sim: ")) << arguments;
        EXPECT_NE(std::string::npos, errors.out.find("usage: vesperglow-sim")) << arguments;
    }
    SimRun help = RunSim("--help");
    EXPECT_EQ(0, help.exitCode);
    EXPECT_EQ(0u, help.out.find("usage: vesperglow-sim"));
}
