// The X11 program's options, from arguments split at NUL bytes: parsing twice gives the same
// result, every value lies in its range, and a message about one argument quotes it as given.
#include <cstring>
#include <string>
#include <vector>

#include "host/x11/options.h"
#include "tests/fuzz/fuzz.h"

namespace {

OptionsResult Parse(const std::vector<std::string>& arguments, HostOptions* options, std::string* problem) {
    std::vector<std::string> copies = arguments;  // getopt reorders argv
    std::vector<char*> argv;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return ParseOptions(int(arguments.size()), argv.data(), options, problem);
}

bool Same(const HostOptions& a, const HostOptions& b) {
    return a.mode == b.mode && a.windowId == b.windowId && a.showFrameRate == b.showFrameRate &&
           a.seedGiven == b.seedGiven && a.seed == b.seed &&
           std::memcmp(a.settingGiven, b.settingGiven, sizeof a.settingGiven) == 0 &&
           std::memcmp(a.settingValue, b.settingValue, sizeof a.settingValue) == 0;
}

// The text is an argument, or the value of one given as -name=value.
bool Given(const std::vector<std::string>& arguments, const std::string& text) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        size_t equals = argument.find('=');
        if (argument == text || (argument[0] == '-' && equals != std::string::npos && argument.substr(equals + 1) == text))
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments = {"vesperglow"};
    std::string input(reinterpret_cast<const char*>(data), size);
    for (size_t begin = 0; begin < size && arguments.size() < 16; begin = input.find('\0', begin) + 1) {
        arguments.push_back(input.substr(begin, input.find('\0', begin) - begin));
        if (input.find('\0', begin) == std::string::npos) break;
    }
    HostOptions first, second;
    std::string problem, again;
    OptionsResult result = Parse(arguments, &first, &problem);
    FUZZ_CHECK(Parse(arguments, &second, &again) == result && again == problem && Same(first, second));

    FUZZ_CHECK((result == OPTIONS_UNKNOWN || result == OPTIONS_BAD) != problem.empty());
    FUZZ_CHECK(first.mode != HOST_MODE_WINDOW_ID || (first.windowId != 0 && first.windowId <= UINT32_MAX));
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        FUZZ_CHECK(!first.settingGiven[i] || !value.ranged ||
                   (first.settingValue[i] >= value.minimum && first.settingValue[i] <= value.maximum));
    }
    size_t open = problem.find('"'), close = problem.rfind('"');
    if (open != close) FUZZ_CHECK(Given(arguments, problem.substr(open + 1, close - open - 1)));
    const std::string needs = " needs a value";
    if (problem.size() > needs.size() && problem.compare(problem.size() - needs.size(), needs.size(), needs) == 0)
        FUZZ_CHECK(Given(arguments, problem.substr(0, problem.size() - needs.size())));
    return 0;
}
