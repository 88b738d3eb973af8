// The X11 program's options, arguments split at NUL bytes: parsing twice gives the same result,
// values lie in their ranges, and a message about one argument quotes it as given.
#include <string>
#include <tuple>
#include <vector>

#include "host/linux/options.h"
#include "tests/fuzz/fuzz.h"

static OptionsResult Parse(std::vector<std::string> arguments, HostOptions* options, std::string* problem) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return ParseOptions(int(argv.size()) - 1, argv.data(), options, problem);
}

// An argument itself, or the value of one given as -name=value.
static bool Given(const std::vector<std::string>& arguments, const std::string& text) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        size_t equals = arguments[i].find('=');
        if (arguments[i] == text || (arguments[i][0] == '-' && equals != std::string::npos &&
                                     arguments[i].compare(equals + 1, std::string::npos, text) == 0))
            return true;
    }
    return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments = {"vesperglow"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (size_t begin = 0; begin <= size && arguments.size() < 16; begin = input.find('\0', begin) + 1) {
        arguments.push_back(input.substr(begin, input.find('\0', begin) - begin));
        if (input.find('\0', begin) == std::string::npos) break;
    }
    HostOptions first, second;
    std::string problem, again;
    OptionsResult result = Parse(arguments, &first, &problem);
    FUZZ_CHECK(Parse(arguments, &second, &again) == result && again == problem);
    auto fields = [](const HostOptions& o) {
        return std::make_tuple(o.mode, o.windowId, o.showFrameRate, o.seedGiven, o.seed,
                               std::vector<bool>(o.settings.given, o.settings.given + SETTINGS_VALUE_COUNT),
                               std::vector<uint32_t>(o.settings.value, o.settings.value + SETTINGS_VALUE_COUNT));
    };
    FUZZ_CHECK(fields(first) == fields(second));
    FUZZ_CHECK((result == OPTIONS_UNKNOWN || result == OPTIONS_BAD) != problem.empty());
    FUZZ_CHECK(first.mode != HOST_MODE_WINDOW_ID || (first.windowId != 0 && first.windowId <= UINT32_MAX));
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        FUZZ_CHECK(!first.settings.given[i] || !value.ranged ||
                   (first.settings.value[i] >= value.minimum && first.settings.value[i] <= value.maximum));
    }
    size_t open = problem.find('"'), close = problem.rfind('"'), needs = problem.rfind(" needs a value");
    if (open != close) FUZZ_CHECK(Given(arguments, problem.substr(open + 1, close - open - 1)));
    if (open == close && needs != std::string::npos && needs + 14 == problem.size()) FUZZ_CHECK(Given(arguments, problem.substr(0, needs)));
    return 0;
}
